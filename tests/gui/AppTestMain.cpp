// The main of the application's window tests: the real application object starts as it does
// for a user (its frame, its panes, its document), with its profile and per-user files in a
// private folder.
#include <cstdlib>

#include "app/TovmarApp.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowTestRunner.h"

int main(int argc, char** argv) {
  const tovmar::TempFolder home("tovmar-gui-home");
  ::setenv("XDG_CONFIG_HOME", (home.Path() / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (home.Path() / "data").c_str(), 1);
  return tovmar::RunWindowTests(argc, argv, [] { return new tovmar::CTovmarApp; });
}
