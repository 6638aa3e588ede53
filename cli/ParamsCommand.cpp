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
    {"--archetypes", "", "",
     "List the file's archetypes instead, one name a line (with --json, one array of names).",
     false},
    {"--archetype", "", "NAME", "Show the records of the archetype called NAME only.", false},
    {"--json", "", "",
     "Print one JSON array of {\"id\", \"name\", \"value\"} objects instead of text.", false},
};

// The archetypes' names, one a line (control characters shown as '?'), or one JSON array.
std::string ArchetypeNames(const std::vector<AppearanceArchetype>& archetypes, bool json) {
  std::string out = json ? "[" : "";
  for (std::size_t i = 0; i < archetypes.size(); ++i) {
    if (json) {
      out += (i == 0 ? "\n  " : ",\n  ") + JsonString(archetypes[i].name);
    } else {
      out += PrintableText(archetypes[i].name) + "\n";
    }
  }
  if (json) out += "\n]\n";
  return out;
}

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
  const std::string& location = args.positionals[0];
  std::string out;
  if (args.Has("--archetypes")) {
    if (args.Has("--archetype"))
      throw CliError("params: --archetypes and --archetype exclude each other");
    out = ArchetypeNames(ReadAppearanceArchetypes(location), args.Has("--json"));
  } else {
    const std::string* archetype = args.Value("--archetype");
    const std::vector<AppearanceParam> params = archetype != nullptr
                                                    ? ReadArchetypeParams(location, *archetype)
                                                    : ReadAppearanceParams(location);
    out = args.Has("--json") ? Json(params) : Text(params);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return kExitSuccess;
}

}  // namespace

const Command& ParamsCommand() {
  static const Command kCommand{
      "params", "FILE-or-URL [--archetypes | --archetype NAME] [--json]",
      "Show the parameter records (id, name, value) of an appearance file in file order, or its "
      "archetypes.",
      kOptions, RunParams};
  return kCommand;
}

}  // namespace tovmar::cli
