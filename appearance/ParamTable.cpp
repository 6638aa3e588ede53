#include "appearance/ParamTable.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "appearance/CNumber.h"

namespace tovmar {

namespace {

char LowerAsciiChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Commas join names and values in the collected text; a colon inside a value splits it alike.
bool IsSeparator(char c) {
  return c == ',' || c == ':';
}

// Hands out the tokens of the text in order; separators at the start and runs of them yield no
// token. Past the last token it gives empty tokens.
class TokenCursor {
 public:
  explicit TokenCursor(std::string_view text) : m_text(text) {}

  std::string_view Next() {
    while (m_pos < m_text.size() && IsSeparator(m_text[m_pos])) ++m_pos;
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSeparator(m_text[m_pos])) ++m_pos;
    return m_text.substr(start, m_pos - start);
  }

 private:
  std::string_view m_text;
  std::size_t m_pos = 0;
};

// The token under the tests: either lower-cased (a keyword position) or kept as it stands (a
// value just taken). Keywords are lower case, so a lower-cased token equals one exactly when it
// matches ignoring the case of A-Z.
struct CurrentToken {
  std::string_view text;
  bool lowered = false;

  bool Is(std::string_view keyword) const {
    if (text.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = lowered ? LowerAsciiChar(text[i]) : text[i];
      if (c != keyword[i]) return false;
    }
    return true;
  }
};

}  // namespace

std::vector<AppearanceParam> BuildParamTable(std::string_view attributeText) {
  // Fewer than 3 commas means fewer than two attributes (when no value holds a comma).
  if (std::count(attributeText.begin(), attributeText.end(), ',') < 3) return {};

  // Count pass: every "id" token, wherever it stands, makes one record.
  std::size_t count = 0;
  TokenCursor counting(attributeText);
  for (std::string_view t = counting.Next(); !t.empty(); t = counting.Next()) {
    if (CurrentToken{t, true}.Is("id")) ++count;
  }
  if (count == 0) return {};
  std::vector<AppearanceParam> table(count);

  // Fill pass: each test sees the current token as the test before it left it. Pairs that fall
  // past the end of the table (the first record did not begin with "id") are dropped.
  TokenCursor cursor(attributeText);
  std::size_t j = 0;
  CurrentToken current{cursor.Next(), true};
  while (!current.text.empty()) {
    if (current.Is("id")) {
      current = {cursor.Next(), false};
      if (j < count) table[j].id = ReadCInt32(current.text);
    }
    if (current.Is("name")) {
      current = {cursor.Next(), false};
      if (j < count) table[j].name = current.text;
    }
    if (current.Is("value")) {
      current = {cursor.Next(), false};
      if (j < count) table[j].value = ReadCFloat(current.text);
    }
    current = {cursor.Next(), true};
    if (current.Is("id")) ++j;
  }
  return table;
}

}  // namespace tovmar
