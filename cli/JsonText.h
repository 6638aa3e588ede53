// Texts as JSON string literals.
#pragma once

#include <string>
#include <string_view>

namespace tovmar::cli {

// `text` as a quoted JSON string: quotes, backslashes and control characters escaped. Bytes
// that are not valid UTF-8 are read as Latin-1 first, so the result is always valid JSON.
std::string JsonString(std::string_view text);

}  // namespace tovmar::cli
