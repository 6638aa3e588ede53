#include "tests/support/WindowTestRunner.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/window.h>

#include "tests/support/WxImageHandlers.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

#include <chrono>
#include <filesystem>
#include <thread>
#endif

namespace tovmar {

namespace {

// A failed wxWidgets assertion fails the running test instead of opening a dialog.
void FailTestOnAssert(const wxString& file, int line, const wxString& function,
                      const wxString& condition, const wxString& message) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wxWidgets assertion " << condition.utf8_string() << " failed in "
      << function.utf8_string() << ": " << message.utf8_string();
}

#if defined(__SANITIZE_ADDRESS__)
// Waits, at most two seconds, until the process has had the same number of threads for a tenth of
// a second. Text layout starts short-lived threads of its own (font matching) with every newly
// measured text, and LeakSanitizer's tracer, stopping a thread that is just starting or ending,
// now and then crashes.
void WaitForThreadsToSettle() {
  using namespace std::chrono_literals;
  const auto count = [] {
    std::error_code ec;
    std::size_t n = 0;
    for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end;
         it.increment(ec)) {
      ++n;
    }
    return n;
  };
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  std::size_t last = count();
  int steady = 0;
  while (steady < 5 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
    const std::size_t now = count();
    steady = now == last ? steady + 1 : 0;
    last = now;
  }
}
#endif

}  // namespace

int RunWindowTests(int argc, char** argv, const std::function<wxApp*()>& makeApp) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as the build does to register them) needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  // No accessibility bridge: it would look for a session bus that a virtual display has not got.
  setenv("NO_AT_BRIDGE", "1", 0);
  int appArgc = 1;
  wxApp::SetInstance(makeApp());
  if (!wxEntryStart(appArgc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "Cannot start wxWidgets: window tests need a display (xvfb-run).\n");
    return 1;
  }
  // The tests write and read pictures with wxImage; the application has no use for its handlers.
  AddWxImageHandlers();
  // Log messages go to standard error: a message box would wait for a user.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxSetAssertHandler(FailTestOnAssert);

  int result = 0;
  {
    wxGUIEventLoop loop;
    wxEventLoopActivator activator(&loop);
    result = RUN_ALL_TESTS();
    // A main window closes as a user would close it.
    if (wxWindow* top = wxTheApp->GetTopWindow()) top->Close(true);
    wxTheApp->ProcessIdle();
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
#if defined(__SANITIZE_ADDRESS__)
  // Leaks are looked for now, while the OpenGL driver's threads wait idle: at exit the driver
  // winds them down, and LeakSanitizer's tracer, stopping threads that are just ending, now and
  // then crashes. The toolkit is cleaned up already; what still lives is held by globals.
  WaitForThreadsToSettle();
  __lsan_do_leak_check();
#endif
  return result;
}

}  // namespace tovmar
