#include "cli/FullProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "cli/CliError.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

namespace {

namespace fs = std::filesystem;

// The full program's file name and, as installed, its folder relative to the launcher's; the
// build sets both from the install rules.
constexpr const char* kFullName = TOVMAR_CLI_FULL_NAME;
constexpr const char* kInstalledFolder = TOVMAR_CLI_FULL_FROM_BIN;

int Fail(const std::string& message) {
  PrintErrorLine(message);
  return kExitFailure;
}

}  // namespace

int RunFullProgram(char** argv) {
  // The launcher's own file, whatever link or relative path it was started through.
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    return Fail(std::string("cannot find the full program ") + kFullName +
                ": /proc/self/exe cannot be read: " + error.message());
  }
  const fs::path folder = self.parent_path();
  const fs::path candidates[] = {folder / kFullName,
                                 (folder / kInstalledFolder / kFullName).lexically_normal()};
  for (const fs::path& candidate : candidates) {
    ::execv(candidate.c_str(), argv);
    // Only a missing file sends the search on; any other failure is the one to report.
    if (errno != ENOENT && errno != ENOTDIR) {
      return Fail("cannot run the full program '" + candidate.string() +
                  "': " + std::strerror(errno));
    }
  }
  return Fail("the full program is missing: neither '" + candidates[0].string() + "' nor '" +
              candidates[1].string() + "' exists; reinstall tovmar-cli");
}

}  // namespace tovmar::cli
