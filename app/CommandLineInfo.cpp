#include "app/CommandLineInfo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tovmar {

namespace {

constexpr std::array kStartupOptions{
    CommandLineOption{"mesh", "FILE", "load this .llm mesh after start-up"},
    CommandLineOption{"texture", "IMAGE", "then put this image on it as its texture"},
    CommandLineOption{"avatar", "DIR",
                      "open this character folder as a whole avatar (replaces --mesh)"},
    CommandLineOption{"appearance", "FILE-or-URL",
                      "then apply this appearance file or http(s) address"},
};

// Where the descriptions start in the --help text.
constexpr std::size_t kDescriptionColumn = 30;

void AppendEntry(std::string& text, const std::string& label, const char* description) {
  text += "  " + label;
  const std::size_t used = 2 + label.size();
  text.append(used < kDescriptionColumn ? kDescriptionColumn - used : 1, ' ');
  text += description;
  text += '\n';
}

// True when `arg` is one of the start-up options written without "=VALUE", so that the next
// argument is its value.
bool TakesNextArgument(std::string_view arg) {
  return std::any_of(kStartupOptions.begin(), kStartupOptions.end(),
                     [arg](const CommandLineOption& option) {
                       return arg.starts_with("--") && arg.substr(2) == option.name;
                     });
}

// Where the value of the start-up option `name` goes.
std::string* PathOf(StartupPaths& paths, std::string_view name) {
  if (name == "mesh") return &paths.mesh;
  if (name == "texture") return &paths.texture;
  if (name == "avatar") return &paths.avatar;
  if (name == "appearance") return &paths.appearance;
  return nullptr;
}

// True for an argument that is no option and ends in ".llm" in any case.
bool NamesMeshFile(const char* arg) {
  const std::string_view text = arg;
  if (text.starts_with("-") || text.size() <= 4) return false;
  const std::string_view ending = text.substr(text.size() - 4);
  return std::equal(ending.begin(), ending.end(), ".llm", [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

}  // namespace

StartupPaths TakeStartupPaths(std::vector<char*>& args) {
  StartupPaths paths;
  std::vector<char*> kept;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (i == 0 || !arg.starts_with("--")) {
      kept.push_back(args[i]);
      continue;
    }
    if (arg == "--") {
      kept.insert(kept.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
      break;
    }
    const std::size_t equals = arg.find('=');
    std::string* path = PathOf(
        paths,
        arg.substr(2, equals == std::string_view::npos ? std::string_view::npos : equals - 2));
    if (path != nullptr && equals != std::string_view::npos) {
      *path = arg.substr(equals + 1);
    } else if (path != nullptr && i + 1 < args.size()) {
      *path = args[++i];
    } else {
      kept.push_back(args[i]);
    }
  }
  if (paths.mesh.empty() && kept.size() > 1) {
    const auto end = std::find_if(kept.begin() + 1, kept.end(),
                                  [](const char* arg) { return std::string_view(arg) == "--"; });
    const auto mesh = std::find_if(kept.begin() + 1, end, NamesMeshFile);
    if (mesh != end) {
      paths.mesh = *mesh;
      kept.erase(mesh);
    }
  }
  args = std::move(kept);
  return paths;
}

std::span<const CommandLineOption> StartupOptions() {
  return kStartupOptions;
}

std::string VersionText() {
  return std::string("tovmar ") + TOVMAR_VERSION + "\n";
}

std::string HelpText() {
  std::string text = "Usage: tovmar [OPTIONS] [" + std::string(kDocumentArgument.valueName) +
                     "]\n\nShows avatar meshes (.llm files), deformed by morph weights and "
                     "textured, in an OpenGL view.\n\nOptions:\n";
  for (const CommandLineOption& option : kStartupOptions) {
    AppendEntry(text, std::string("--") + option.name + " " + option.valueName, option.description);
  }
  AppendEntry(text, std::string("--") + kFitSwitch.name, kFitSwitch.description);
  AppendEntry(text, "-h, --help", "print this help and exit");
  AppendEntry(text, "--version", "print the version and exit");
  text += "\nArguments:\n";
  AppendEntry(text, kDocumentArgument.valueName, kDocumentArgument.description);
  return text;
}

std::optional<std::string> InfoRequestText(std::span<char* const> args) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return HelpText();
    if (arg == "--version") return VersionText();
    if (TakesNextArgument(arg)) ++i;
  }
  return std::nullopt;
}

}  // namespace tovmar
