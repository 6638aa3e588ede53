#include "cli/Options.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "cli/CliError.h"

namespace tovmar::cli {

namespace {

const OptionInfo* FindOption(std::span<const OptionInfo> options, std::string_view word) {
  for (const OptionInfo& candidate : options) {
    if (word == candidate.name || (!candidate.alias.empty() && word == candidate.alias)) {
      return &candidate;
    }
  }
  return nullptr;
}

// One side of a size: digits only, 1 to `maxSide`.
bool ReadSide(std::string_view digits, int maxSide, int& side) {
  if (digits.empty() || digits.size() > 5) return false;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > maxSide) return false;
  side = value;
  return true;
}

bool LooksLikeOption(std::string_view word) {
  return word.size() > 1 && word[0] == '-';
}

}  // namespace

const std::vector<std::string>& ParsedArgs::Values(std::string_view name) const {
  static const std::vector<std::string> kNone;
  const auto it = m_values.find(std::string(name));
  return it == m_values.end() ? kNone : it->second;
}

const std::string* ParsedArgs::Value(std::string_view name) const {
  const std::vector<std::string>& values = Values(name);
  return values.empty() ? nullptr : &values.back();
}

bool ReadFiniteFloat(std::string_view text, float& value) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+' && first + 1 != last) ++first;
  float read = 0.0f;
  const auto [end, ec] = std::from_chars(first, last, read);
  if (ec != std::errc() || end != last || !std::isfinite(read)) return false;
  value = read;
  return true;
}

void ReadSizeOption(const ParsedArgs& args, int maxSide, bool squareAllowed, int& width,
                    int& height) {
  const std::string* text = args.Value("--size");
  if (text == nullptr) return;
  const std::string_view size = *text;
  const std::size_t x = size.find('x');
  const bool read = x == std::string_view::npos ? squareAllowed && ReadSide(size, maxSide, width) &&
                                                      ReadSide(size, maxSide, height)
                                                : ReadSide(size.substr(0, x), maxSide, width) &&
                                                      ReadSide(size.substr(x + 1), maxSide, height);
  if (!read) {
    throw CliError("malformed --size '" + *text + "': expected " +
                   (squareAllowed ? "N or WIDTHxHEIGHT" : "WIDTHxHEIGHT") + ", each 1 to " +
                   std::to_string(maxSide));
  }
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, std::span<const OptionInfo> options) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (optionsEnded || !LooksLikeOption(word)) {
      parsed.positionals.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    if (word == "-h" || word == "--help") {
      parsed.help = true;
      continue;
    }

    // A long option may carry its value after "=".
    std::string_view key = word;
    std::optional<std::string> attached;
    if (const std::size_t equals = word.find('=');
        word.starts_with("--") && equals != std::string::npos) {
      key = std::string_view(word).substr(0, equals);
      attached = word.substr(equals + 1);
    }

    const OptionInfo* option = FindOption(options, key);
    if (option == nullptr) throw CliError("unknown option '" + std::string(key) + "'");
    if (!option->repeatable && parsed.Has(option->name)) {
      throw CliError("option " + std::string(option->name) + " given more than once");
    }
    if (option->valueName.empty()) {
      if (attached) {
        throw CliError("option " + std::string(option->name) + " takes no value");
      }
      parsed.Add(option->name, {});
    } else if (attached) {
      parsed.Add(option->name, *attached);
    } else if (i + 1 < args.size()) {
      parsed.Add(option->name, args[++i]);
    } else {
      throw CliError("option " + std::string(option->name) + " needs a value (" +
                     std::string(option->valueName) + ")");
    }
  }
  return parsed;
}

}  // namespace tovmar::cli
