// The main of the application's window tests: the real application object starts as it does
// for a user (its frame, its panes, its document), with its profile and per-user files in a
// private folder; the tests then drive its windows and pump their events themselves.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

#include "app/TovmarApp.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as the build does to register them) needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("tovmar-gui-home-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);

  // The application sees no arguments of GoogleTest's.
  int appArgc = 1;
  wxApp::SetInstance(new tovmar::CTovmarApp);
  if (!wxEntryStart(appArgc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "Cannot start Tovmar: window tests need a display (xvfb-run).\n");
    return 1;
  }
  // Toolkit diagnostics go to standard error instead of message boxes nobody would close.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  int result = 0;
  {
    wxGUIEventLoop loop;
    wxEventLoopActivator activator(&loop);
    result = RUN_ALL_TESTS();
    // The main window closes as a user would close it.
    if (wxWindow* top = wxTheApp->GetTopWindow()) top->Close(true);
    wxTheApp->ProcessIdle();
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::filesystem::remove_all(home);
  return result;
}
