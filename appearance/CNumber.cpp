#include "appearance/CNumber.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tovmar {

namespace {

bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

#ifdef _WIN32
double StrtodInCLocale(const char* text) {
  static const _locale_t cLocale = _create_locale(LC_ALL, "C");
  assert(cLocale != nullptr);
  return _strtod_l(text, nullptr, cLocale);
}
#else
double StrtodInCLocale(const char* text) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
  assert(cLocale != locale_t{});
  return strtod_l(text, nullptr, cLocale);
}
#endif

// Round to nearest, ties to even, as the hardware conversion does; values past the largest
// float become infinity there too, but a plain cast of them is undefined in C++.
float RoundToFloat(double d) {
  constexpr double kMax = std::numeric_limits<float>::max();
  // Halfway between the largest float and 2^128: from here on the nearest value is infinity.
  const double overflowFrom = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
  if (std::fabs(d) <= kMax || std::isnan(d)) return static_cast<float>(d);
  const float sign = std::signbit(d) ? -1.0f : 1.0f;
  if (std::fabs(d) >= overflowFrom) return sign * std::numeric_limits<float>::infinity();
  return sign * std::numeric_limits<float>::max();
}

// Whether the text starts as a plain decimal: an optional "-", then a digit or "." but not "0x".
bool IsPlainDecimalStart(std::string_view text) {
  if (!text.empty() && text[0] == '-') text.remove_prefix(1);
  if (text.empty() || !(IsDigit(text[0]) || text[0] == '.')) return false;
  return !(text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'));
}

}  // namespace

std::int32_t ReadCInt32(std::string_view text) {
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // The magnitude saturates at 2^31, which is past both limits once the sign is applied.
  std::int64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

float ReadCFloat(std::string_view text) {
  // Plain decimals go through from_chars, which needs no locale and rounds as strtod does; all
  // else (leading space or "+", hexadecimal, infinity and NaN, values out of range) through
  // strtod, which needs a terminated copy (a zero byte inside ends the reading as it would).
  if (IsPlainDecimalStart(text)) {
    double value = 0.0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc()) {
      return RoundToFloat(value);
    }
  }
  const std::string terminated(text);
  return RoundToFloat(StrtodInCLocale(terminated.c_str()));
}

}  // namespace tovmar
