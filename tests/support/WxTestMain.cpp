// The main of the window tests: wxWidgets is set up as an application whose main loop never
// runs; the tests show real windows and pump their events themselves.
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

namespace {

// An application that does nothing on start: the command line belongs to GoogleTest.
class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as the build does to register them) needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "Cannot start wxWidgets: window tests need a display (xvfb-run).\n");
    return 1;
  }
  int result = 0;
  {
    wxGUIEventLoop loop;
    wxEventLoopActivator activator(&loop);
    result = RUN_ALL_TESTS();
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
