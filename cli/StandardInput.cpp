#include "cli/StandardInput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "cli/CliError.h"

namespace tovmar::cli {

std::string ReadStandardInput(std::uint64_t limit) {
  static bool read = false;
  if (read) throw CliError("standard input ('-') can be read only once");
  read = true;

  std::string bytes;
  char block[1 << 16];
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
    if (got == 0) return bytes;
    if (got < 0) {
      if (errno == EINTR) continue;
      throw CliError(std::string("cannot read standard input: ") + std::strerror(errno));
    }
    if (bytes.size() + static_cast<std::uint64_t>(got) > limit) {
      throw CliError("standard input holds more than " + std::to_string(limit) + " bytes");
    }
    bytes.append(block, static_cast<std::size_t>(got));
  }
}

}  // namespace tovmar::cli
