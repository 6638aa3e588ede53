#include "appearance/AppearanceXmlWriter.h"

#include <cassert>
#include <charconv>

#include "appearance/CNumber.h"
#include "base/Text.h"

namespace tovmar {

namespace {

// Whether the valid UTF-8 text `name` holds only characters of XML 1.0: no control characters
// but tab, line feed and carriage return, and neither U+FFFE nor U+FFFF (EF BF BE, EF BF BF).
bool HoldsOnlyXmlChars(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    if (c == 0xEF && i + 2 < name.size() && name[i + 1] == '\xBF' &&
        (name[i + 2] == '\xBE' || name[i + 2] == '\xBF')) {
      return false;
    }
  }
  return true;
}

// `text` without the characters XML cannot carry: invalid UTF-8 is read as Latin-1 first.
std::string XmlCharsOnly(std::string_view text) {
  const std::string utf8 = EightBitToUtf8(text);
  std::string kept;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
    if (c == 0xEF && !HoldsOnlyXmlChars(std::string_view(utf8).substr(i, 3))) {
      i += 2;
      continue;
    }
    kept += utf8[i];
  }
  return kept;
}

// `text` as an attribute value between double quotes. White space other than the space is written
// as a character reference, so that the parser's normalisation of attribute values keeps it.
void AppendAttributeValue(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += c;
        break;
    }
  }
}

// The shortest decimal that reads back as `value`; nine significant digits always do.
std::string ValueText(float value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ReadCFloat(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer))) !=
      value) {
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
  }
  return std::string(buffer, result.ptr);
}

}  // namespace

bool NameReadsBack(std::string_view name) {
  if (name.empty()) return false;
  const std::string lower = LowerAscii(name);
  if (lower == "id" || lower == "name" || lower == "value") return false;
  if (name.find_first_of(",:") != std::string_view::npos) return false;
  return IsValidUtf8(name) && HoldsOnlyXmlChars(name);
}

std::string AppearanceXml(const std::vector<AppearanceParam>& params,
                          std::string_view archetypeName) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<linden_genepool version=\"1.0\">\n<archetype name=\"";
  AppendAttributeValue(out, XmlCharsOnly(archetypeName));
  out += "\">\n";
  for (const AppearanceParam& param : params) {
    assert(NameReadsBack(param.name));
    out += "\t<param id=\"" + std::to_string(param.id) + "\" name=\"";
    AppendAttributeValue(out, param.name);
    out += "\" value=\"" + ValueText(param.value) + "\"/>\n";
  }
  out += "</archetype>\n</linden_genepool>\n";
  return out;
}

}  // namespace tovmar
