// The application's command line: its start-up options with their one-line descriptions, shared
// by the window's option parser and by the --help text, which the program prints before it looks
// for a display.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tovmar {

struct CommandLineOption {
  // The long name, without the leading "--".
  const char* name;
  // The placeholder of the option's value in the --help text.
  const char* valueName;
  const char* description;
};

// --mesh, --texture, --avatar and --appearance, in the order --help lists them.
std::span<const CommandLineOption> StartupOptions();

// The one switch: frame the whole model once the start-up options have loaded it.
inline constexpr CommandLineOption kFitSwitch{
    "fit", "", "then frame the whole model in the view, as the F key does"};

// The one optional argument: a document to open at start-up.
inline constexpr CommandLineOption kDocumentArgument{
    "document", "DOCUMENT", "open this Tovmar document (.tovm); a .llm mesh loads as with --mesh"};

// The values of --mesh, --texture, --avatar and --appearance as they stood on the command line,
// byte for byte; empty for an option that was not given.
struct StartupPaths {
  std::string mesh;
  std::string texture;
  std::string avatar;
  std::string appearance;
};

// Takes --mesh, --texture, --avatar and --appearance with their values ("--name VALUE" or
// "--name=VALUE") out of `args` (argv[0] being the program) and returns the values unchanged. A
// file name is bytes that need not be valid text in the user's locale, and the toolkit's own parser
// drops such an argument. A later option replaces an earlier one; an option without its value and
// everything after "--" stay in `args` for the toolkit's parser. Without --mesh, the first argument
// before "--" that names a ".llm" file (any case) is taken as the mesh, as a file manager passes
// one.
StartupPaths TakeStartupPaths(std::vector<char*>& args);

// "tovmar VERSION" and a line break.
std::string VersionText();

// The usage line, every option and the document argument, each with its description.
std::string HelpText();

// The text to print when the arguments (argv[0] being the program) ask for --help, -h or
// --version; nothing when they do not. The first such request wins; an option's value and
// anything after "--" are never taken for one.
std::optional<std::string> InfoRequestText(std::span<char* const> args);

}  // namespace tovmar
