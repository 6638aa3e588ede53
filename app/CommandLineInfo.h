// The application's command line: its start-up options with their one-line descriptions, shared
// by the window's option parser and by the --help text, which the program prints before it looks
// for a display.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace tovmar {

struct CommandLineOption {
  // The long name, without the leading "--".
  const char* name;
  // The placeholder of the option's value in the --help text.
  const char* valueName;
  const char* description;
};

// --mesh, --texture and --appearance, in the order --help lists them.
std::span<const CommandLineOption> StartupOptions();

// The one optional argument: a document to open at start-up.
inline constexpr CommandLineOption kDocumentArgument{"document", "DOCUMENT",
                                                     "open this Tovmar document (.tovm)"};

// "tovmar VERSION" and a line break.
std::string VersionText();

// The usage line, every option and the document argument, each with its description.
std::string HelpText();

// The text to print when the arguments (argv[0] being the program) ask for --help, -h or
// --version; nothing when they do not. The first such request wins; an option's value and
// anything after "--" are never taken for one.
std::optional<std::string> InfoRequestText(std::span<char* const> args);

}  // namespace tovmar
