#include "cli/TerminalText.h"

#include <cstdio>

#include "base/Text.h"
#include "base/UrlPasswords.h"

namespace tovmar::cli {

std::string PrintableText(std::string_view text) {
  const std::string utf8 = EightBitToUtf8(text);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x20 || b == 0x7F) {
      out += '?';
    } else if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
      // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F in UTF-8.
      out += '?';
      ++i;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

void PrintErrorLine(std::string_view message) {
  std::fprintf(stderr, "tovmar-cli: %s\n", PrintableText(MaskUrlPasswords(message)).c_str());
}

}  // namespace tovmar::cli
