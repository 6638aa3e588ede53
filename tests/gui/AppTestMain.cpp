// The main of the application's window tests: the real application object starts as it does
// for a user (its frame, its panes, its document), with its profile and per-user files in a
// private folder.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "app/TovmarApp.h"
#include "tests/support/WindowTestRunner.h"

int main(int argc, char** argv) {
  const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("tovmar-gui-home-" + std::to_string(::getpid()));
  ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  const int result = tovmar::RunWindowTests(argc, argv, [] { return new tovmar::CTovmarApp; });
  std::error_code ec;
  std::filesystem::remove_all(home, ec);
  return result;
}
