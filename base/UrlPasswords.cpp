#include "base/UrlPasswords.h"

namespace tovmar {

namespace {

// Where an address's authority (user, password, host and port) ends.
bool EndsAuthority(char c) {
  return c == '/' || c == '?' || c == '#' || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// `text` with the password of every address in it, and the ":" before it, replaced by
// `replacement`.
std::string ReplaceUrlPasswords(std::string_view text, std::string_view replacement) {
  constexpr std::string_view kSchemeEnd = "://";
  std::string out;
  std::size_t copied = 0;
  std::size_t scheme = text.find(kSchemeEnd);
  while (scheme != std::string_view::npos) {
    const std::size_t start = scheme + kSchemeEnd.size();
    std::size_t end = start;
    while (end < text.size() && !EndsAuthority(text[end])) ++end;
    const std::string_view authority = text.substr(start, end - start);
    const std::size_t at = authority.rfind('@');
    const std::size_t colon = authority.substr(0, at == std::string_view::npos ? 0 : at).find(':');
    if (colon != std::string_view::npos) {
      out.append(text, copied, start + colon - copied);
      out += replacement;
      copied = start + at;
    }
    scheme = text.find(kSchemeEnd, end);
  }
  out.append(text, copied);
  return out;
}

}  // namespace

std::string MaskUrlPasswords(std::string_view text) {
  return ReplaceUrlPasswords(text, ":***");
}

std::string DropUrlPasswords(std::string_view text) {
  return ReplaceUrlPasswords(text, "");
}

}  // namespace tovmar
