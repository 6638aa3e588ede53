#include "cli/PngOptions.h"

#include "cli/CliError.h"

namespace tovmar::cli {

PngCompression CompressionOption(const ParsedArgs& args) {
  const std::string* text = args.Value("--compression");
  if (text == nullptr || *text == "fast") return PngCompression::kFast;
  if (*text == "small") return PngCompression::kSmall;
  throw CliError("malformed --compression '" + *text + "': expected fast or small");
}

}  // namespace tovmar::cli
