// The program's entry point: the wxWidgets application Tovmar.
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "app/CommandLineInfo.h"
#include "app/TovmarApp.h"

wxIMPLEMENT_APP_NO_MAIN(tovmar::CTovmarApp);

int main(int argc, char** argv) {
  // --help and --version open no window, so they answer before the display is looked for.
  if (const auto text =
          tovmar::InfoRequestText(std::span<char* const>(argv, static_cast<std::size_t>(argc)))) {
    std::fputs(text->c_str(), stdout);
    return 0;
  }
#if defined(__linux__) || defined(__FreeBSD__)
  // Without a display the toolkit can only fail with its own error: say plainly what is missing.
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) {
    std::fprintf(stderr,
                 "tovmar: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY "
                 "is set).\nRun it from a desktop session, or in a virtual display, for example:\n"
                 "  xvfb-run -a tovmar --mesh FILE.llm\n");
    return 1;
  }
#endif
  // The start-up options' file names go to the application as bytes, past the toolkit's parser.
  std::vector<char*> args(argv, argv + argc);
  tovmar::CTovmarApp::SetStartupPaths(tovmar::TakeStartupPaths(args));
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  return wxEntry(count, args.data());
}
