// tovmar-cli params: the parameter records of an appearance file, as text or as JSON.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/JsonText.h"
#include "cli/MorphSettings.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

namespace {

constexpr OptionInfo kOptions[] = {
    {"--json", "", "",
     "Print one JSON array of {\"id\", \"name\", \"value\"} objects instead of text.", false},
};

// The shortest text that reads back as the same float ("0.8", "-1", "1e+30", "inf").
std::string NumberText(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// One line per record: id, name and value, separated by tabs (a name's own control characters
// are shown as '?', so tabs never stand inside a field).
std::string Text(const std::vector<AppearanceParam>& params) {
  std::string out;
  for (const AppearanceParam& p : params) {
    out += std::to_string(p.id) + "\t" + PrintableText(p.name) + "\t" + NumberText(p.value) + "\n";
  }
  return out;
}

// One array, one object a line; a value JSON cannot hold (infinite, not a number) is null.
std::string Json(const std::vector<AppearanceParam>& params) {
  std::string out = "[";
  for (std::size_t i = 0; i < params.size(); ++i) {
    const AppearanceParam& p = params[i];
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"id\": " + std::to_string(p.id) + ", \"name\": " + JsonString(p.name) +
           ", \"value\": " + (std::isfinite(p.value) ? NumberText(p.value) : "null") + "}";
  }
  out += "\n]\n";
  return out;
}

int RunParams(const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw CliError("params: expected one appearance file or URL");
  const std::vector<AppearanceParam> params = ReadAppearanceParams(args.positionals[0]);
  const std::string out = args.Has("--json") ? Json(params) : Text(params);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return kExitSuccess;
}

}  // namespace

const Command& ParamsCommand() {
  static const Command kCommand{
      "params", "FILE-or-URL [--json]",
      "Show the parameter records (id, name, value) of an appearance file in file order.", kOptions,
      RunParams};
  return kCommand;
}

}  // namespace tovmar::cli
