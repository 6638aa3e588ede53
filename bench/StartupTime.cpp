// The time from process start to the first frame that shows a mesh: the application starts as
// for a user with `--mesh FILE`, and the clock stops when the 3D view has drawn its first
// frame. Prints the time, and the time to the first frame of an empty window in the same run as
// the baseline. Needs a display (xvfb-run).
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

#include "app/MainFrame.h"
#include "app/TovmarApp.h"
#include "render/window/GLView.h"

namespace {

// Seconds since this process was started by the kernel.
double SecondsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string field;
  for (int i = 0; i < 22 && stat >> field; ++i) {
  }
  std::ifstream uptime("/proc/uptime");
  double up = 0.0;
  uptime >> up;
  return up - std::stod(field) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_time FILE.llm   (or EMPTY for no mesh)\n");
    return 2;
  }
  const std::string mesh = argv[1];
  std::string option = "--mesh=" + mesh;
  char* appArgv[] = {argv[0], option.data(), nullptr};
  int appArgc = mesh == "EMPTY" ? 1 : 2;
  wxApp::SetInstance(new tovmar::CTovmarApp);
  if (!wxEntryStart(appArgc, appArgv) || !wxTheApp->CallOnInit()) return 1;
  {
    wxGUIEventLoop loop;
    wxEventLoopActivator activator(&loop);
    auto& app = dynamic_cast<tovmar::CTovmarApp&>(*wxTheApp);
    while (app.MainFrame()->View3D()->FramesDrawn() == 0) {
      wxTheApp->Yield(true);
      wxTheApp->ProcessPendingEvents();
      ::usleep(1000);
    }
    std::printf("first frame after %.0f ms (%s)\n", SecondsSinceProcessStart() * 1000.0,
                mesh.c_str());
    app.MainFrame()->Close(true);
    wxTheApp->ProcessIdle();
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
