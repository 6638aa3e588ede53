// A small parser for one subcommand's arguments: positionals, flags and options with values.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovmar::cli {

// One option a command accepts; the same description feeds the parser and the help text.
struct OptionInfo {
  std::string_view name;       // "--json", "-o"
  std::string_view alias;      // another spelling ("--output"), or empty
  std::string_view valueName;  // shown in the help ("NAME=VALUE"); empty for a flag
  std::string_view help;
  bool repeatable = false;
};

class ParsedArgs {
 public:
  std::vector<std::string> positionals;
  // True when -h or --help stood among the options.
  bool help = false;

  bool Has(std::string_view name) const { return m_values.contains(std::string(name)); }
  // Every value given for the option, in command-line order (flags: one empty text per use).
  const std::vector<std::string>& Values(std::string_view name) const;
  // The value of a non-repeatable option, or nullptr when it was not given.
  const std::string* Value(std::string_view name) const;
  // Every option given, as (name, value), in command-line order: for options whose meaning
  // depends on the one before them.
  const std::vector<std::pair<std::string, std::string>>& InOrder() const { return m_order; }

  void Add(std::string_view name, std::string value) {
    m_values[std::string(name)].push_back(value);
    m_order.emplace_back(name, std::move(value));
  }

 private:
  std::map<std::string, std::vector<std::string>> m_values;
  std::vector<std::pair<std::string, std::string>> m_order;
};

// Reads `text` whole as a finite decimal number, the same in every locale ("+" allowed before
// the digits). False for anything else, "inf" and "nan" included.
bool ReadFiniteFloat(std::string_view text, float& value);

// Reads the --size option: "WIDTHxHEIGHT", or with `squareAllowed` also "N" for N x N, each side
// digits only, 1 to `maxSide`. `width` and `height` keep their values without the option. Throws
// CliError when the value is malformed.
void ReadSizeOption(const ParsedArgs& args, int maxSide, bool squareAllowed, int& width,
                    int& height);

// Parses `args` (the words after the subcommand) against `options`. Values are stored under the
// option's `name`. An option with a value takes the next word, or for long options also the form
// --name=VALUE; "--" ends the options. Throws CliError for an unknown option, a missing value,
// a value given to a flag, or a non-repeatable option given twice.
ParsedArgs ParseArgs(const std::vector<std::string>& args, std::span<const OptionInfo> options);

}  // namespace tovmar::cli
