// Number reading as the C library does it in the "C" locale, whatever the user's locale is.
#pragma once

#include <cstdint>
#include <string_view>

namespace tovmar {

// A base-10 integer as strtol reads it: leading white space and a sign allowed, reading stops at
// the first other character, no digits gives 0, values past the 32-bit range give the nearest
// limit.
std::int32_t ReadCInt32(std::string_view text);

// A decimal number as strtod reads it with "." as the decimal point, rounded to single
// precision. Nothing readable gives 0.
float ReadCFloat(std::string_view text);

}  // namespace tovmar
