// Writing an output file of a command so that it is either complete or untouched.
#pragma once

#include <string>
#include <string_view>

#include "base/ReplaceFile.h"

namespace tovmar::cli {

// The -o value that means standard output; never a file of that name.
inline constexpr std::string_view kStandardOutput = "-";

// As ReplaceFileContents, but "-" writes `bytes` to standard output.
void WriteOutput(const std::string& path, std::string_view bytes);

}  // namespace tovmar::cli
