// The main of the window tests: wxWidgets is set up as an application whose main loop never
// runs; the tests show real windows and pump their events themselves.
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

namespace {

// An application that does nothing on start: the command line belongs to GoogleTest.
class TestApp : public wxApp {
 public:
  bool OnInit() override {
    SetExitOnFrameDelete(false);
    return true;
  }
};

// A failed wxWidgets assertion fails the running test instead of opening a dialog.
void FailTestOnAssert(const wxString& file, int line, const wxString& function,
                      const wxString& condition, const wxString& message) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wxWidgets assertion " << condition.utf8_string() << " failed in "
      << function.utf8_string() << ": " << message.utf8_string();
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as the build does to register them) needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  // No accessibility bridge: it would look for a session bus that a virtual display has not got.
  setenv("NO_AT_BRIDGE", "1", 0);
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "Cannot start wxWidgets: window tests need a display (xvfb-run).\n");
    return 1;
  }
  // Log messages go to standard error: a message box would wait for a user.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxSetAssertHandler(FailTestOnAssert);

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
