#include "cli/AvatarInput.h"

#include <filesystem>
#include <vector>

#include "avatar/AvatarLoader.h"
#include "base/FileBytes.h"
#include "cli/CliError.h"
#include "cli/MorphSettings.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

namespace {

std::string PartNames() {
  std::string names;
  for (const AvatarPartKind kind : kAvatarPartKinds) {
    if (!names.empty()) names += ", ";
    names += AvatarPartName(kind);
  }
  return names;
}

struct PartTexture {
  AvatarPartKind kind;
  std::string image;
};

// Every --part-texture, checked before the folder is read.
std::vector<PartTexture> PartTextures(std::string_view command, const ParsedArgs& args) {
  std::vector<PartTexture> textures;
  for (const std::string& value : args.Values("--part-texture")) {
    const std::size_t equals = value.find('=');
    const std::string name = value.substr(0, equals);
    const std::optional<AvatarPartKind> kind = AvatarPartFromName(name);
    if (!kind) {
      throw CliError(std::string(command) + ": unknown part '" + name +
                     "' in --part-texture: expected one of " + PartNames());
    }
    if (equals == std::string::npos || equals + 1 == value.size()) {
      throw CliError(std::string(command) + ": --part-texture '" + value +
                     "' needs an image: PART=IMAGE");
    }
    for (const PartTexture& earlier : textures) {
      if (earlier.kind == *kind) {
        throw CliError(std::string(command) + ": more than one --part-texture for the part '" +
                       name + "'");
      }
    }
    textures.push_back({*kind, value.substr(equals + 1)});
  }
  return textures;
}

}  // namespace

Avatar ReadAvatarOption(std::string_view command, const ParsedArgs& args) {
  const std::string& folder = *args.Value("--avatar");
  if (!args.positionals.empty()) {
    throw CliError(std::string(command) + ": --avatar DIR and mesh files cannot be given together");
  }
  const std::vector<PartTexture> textures = PartTextures(command, args);
  const MorphSettings settings = ReadMorphSettings(args);

  std::error_code error;
  if (!std::filesystem::is_directory(PathFromUtf8(folder), error)) {
    throw CliError(std::string(command) + ": '" + folder + "' is not a character folder");
  }
  AvatarLoadOptions options;
  options.withSkirt = args.Has("--with-skirt");
  AvatarLoadResult loaded = LoadAvatarFolder(folder, options);
  if (!loaded.ok) throw CliError(std::string(command) + ": " + loaded.error);
  for (const std::string& warning : loaded.warnings) PrintErrorLine("warning: " + warning);
  Avatar avatar = std::move(loaded.avatar);

  std::vector<bool> named(settings.weights.size(), false);
  for (AvatarPart& part : avatar.parts) {
    const std::vector<bool> matched = SetMorphWeights(part.mesh, settings);
    for (std::size_t i = 0; i < matched.size(); ++i) named[i] = named[i] || matched[i];
  }
  RefuseUnnamedWeights(settings, named);

  for (const PartTexture& texture : textures) {
    AvatarPart* part = avatar.FindPart(texture.kind);
    if (part == nullptr) {
      const bool skirtLeftOut = texture.kind == AvatarPartKind::kSkirt && !options.withSkirt;
      throw CliError(std::string(command) + ": the avatar has no part '" +
                     std::string(AvatarPartName(texture.kind)) + "' (" +
                     (skirtLeftOut
                          ? std::string("the skirt needs --with-skirt")
                          : "no " + AvatarPartFileName(texture.kind) + " in '" + folder + "'") +
                     ")");
    }
    part->texturePath = texture.image;
  }
  return avatar;
}

std::string AvatarPartPath(const ParsedArgs& args, const AvatarPart& part) {
  return PathToUtf8(PathFromUtf8(*args.Value("--avatar")) / AvatarPartFileName(part.kind));
}

}  // namespace tovmar::cli
