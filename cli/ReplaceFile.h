// Writing an output file so that it is either complete or untouched.
#pragma once

#include <string>
#include <string_view>

namespace tovmar::cli {

// Writes `bytes` to a new file with a unique name in the folder of `path` (UTF-8), flushes it to
// disk and renames it to `path`, replacing any file there. On failure the temporary file is
// removed, `path` is left as it was, and CliError is thrown.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tovmar::cli
