#include "cli/AvatarOptions.h"

#include <string>

#include "cli/CliError.h"

namespace tovmar::cli {

void RefuseAvatarOptionsAlone(std::string_view command, const ParsedArgs& args) {
  for (const char* option : {"--part-texture", "--with-skirt"}) {
    if (args.Has(option)) {
      throw CliError(std::string(command) + ": " + option + " needs --avatar DIR");
    }
  }
}

}  // namespace tovmar::cli
