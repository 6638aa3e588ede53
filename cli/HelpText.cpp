#include "cli/HelpText.h"

#include <algorithm>

namespace tovmar::cli {

namespace {

// "info FILE.llm [--json]" and the like.
std::string Synopsis(const Command& command) {
  return std::string(command.name) + " " + std::string(command.arguments);
}

// "  -o, --output OUT.obj" and the like.
std::string OptionLabel(const OptionInfo& option) {
  std::string label = "  ";
  label += option.name;
  if (!option.alias.empty()) label.append(", ").append(option.alias);
  if (!option.valueName.empty()) label.append(" ").append(option.valueName);
  return label;
}

// The usage lines of `command`: the first after `first`, a second form after `later`.
std::string UsageLines(const Command& command, const std::string& first, const std::string& later) {
  std::string out = first + Synopsis(command);
  if (!command.otherArguments.empty()) {
    out += "\n" + later + std::string(command.name) + " " + std::string(command.otherArguments);
  }
  return out;
}

// Labels and their help in two aligned columns, the labels at least `width` wide.
void AppendColumns(std::string& out, const std::vector<std::pair<std::string, std::string>>& rows,
                   std::size_t width = 0) {
  for (const auto& row : rows) width = std::max(width, row.first.size());
  for (const auto& [label, help] : rows) {
    out += label + std::string(width - label.size() + 3, ' ') + help + "\n";
  }
}

}  // namespace

std::string GeneralHelp() {
  std::string out = "Usage: tovmar-cli COMMAND [ARGUMENTS]\n\n";
  out +=
      "Reads avatar meshes (\".llm\" files) and appearance files, draws meshes and exports\nthem "
      "and their texture layout, without a window or a display.\n\nCommands:\n";
  for (const Command& command : AllCommands()) {
    out += UsageLines(command, "  ", "  ") + "\n      " + std::string(command.summary) + "\n";
  }
  out += "\nOptions:\n";
  AppendColumns(out, {{"  -h, --help", "Show this help; after a command, that command's help."},
                      {"  --version", "Show the version."}});
  out += "\nA mesh file named - is read from standard input.\n";
  out += "Errors are reported on one line of standard error, with exit status 2.\n";
  return out;
}

std::string CommandHelp(const Command& command) {
  std::string out = UsageLines(command, "Usage: tovmar-cli ", "       tovmar-cli ") + "\n\n" +
                    std::string(command.summary) + "\n";
  // One column width for every command, so that an option they share reads alike in each.
  std::size_t width = 0;
  for (const Command& other : AllCommands()) {
    for (const OptionInfo& option : other.options)
      width = std::max(width, OptionLabel(option).size());
  }
  std::vector<std::pair<std::string, std::string>> rows;
  for (const OptionInfo& option : command.options) {
    rows.emplace_back(OptionLabel(option), std::string(option.help));
  }
  rows.emplace_back("  -h, --help", "Show this help.");
  out += "\nOptions:\n";
  AppendColumns(out, rows, width);
  return out;
}

}  // namespace tovmar::cli
