// The main of the window tests of single controls: an application that does nothing on start.
#include <wx/app.h>

#include "tests/support/WindowTestRunner.h"

namespace {

class TestApp : public wxApp {
 public:
  bool OnInit() override {
    SetExitOnFrameDelete(false);
    return true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  return tovmar::RunWindowTests(argc, argv, [] { return new TestApp; });
}
