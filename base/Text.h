// Text helpers for the 8-bit names of mesh files and the names of appearance files.
#pragma once

#include <string>
#include <string_view>

namespace tovmar {

// Whether `bytes` are valid UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Decodes 8-bit text to UTF-8: kept as is when it is valid UTF-8, otherwise read as Latin-1.
std::string EightBitToUtf8(std::string_view bytes);

// Lower-cases A-Z only, whatever the user's locale.
std::string LowerAscii(std::string_view text);

}  // namespace tovmar
