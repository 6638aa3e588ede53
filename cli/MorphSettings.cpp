#include "cli/MorphSettings.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "appearance/AppearanceXmlReader.h"
#include "appearance/LocationFetcher.h"
#include "base/FileBytes.h"
#include "base/Location.h"
#include "base/Text.h"
#include "cli/CliError.h"
#include "cli/MessageCapture.h"
#include "cli/TerminalText.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/MeshLoad.h"

namespace tovmar::cli {

namespace {

// "NAME=VALUE": the value after the last "=", a finite decimal number.
WeightSetting ParseWeight(const std::string& text) {
  const std::size_t equals = text.rfind('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    throw CliError("malformed --weight '" + text + "': expected NAME=VALUE");
  }
  WeightSetting setting{text.substr(0, equals), 0.0f};
  if (!ReadFiniteFloat(std::string_view(text).substr(equals + 1), setting.value)) {
    throw CliError("malformed --weight '" + text + "': VALUE is not a number");
  }
  return setting;
}

// An address is fetched here rather than by the reader, which keeps quiet about a server that
// answers with an error or cannot be reached: a command names the cause.
std::vector<AppearanceParam> ReadRemoteParams(const std::string& location) {
  const FetchResult fetched = CurrentLocationFetcher().Fetch(location, {});
  if (fetched.status != FetchStatus::kLoaded) {
    throw CliError("cannot fetch '" + location + "': " +
                   (fetched.errorText.empty() ? "nothing was received" : fetched.errorText));
  }
  return AppearanceXmlReader::ReadParamsFromMemory(fetched.bytes);
}

}  // namespace

std::vector<AppearanceParam> ReadAppearanceParams(const std::string& location) {
  // The reader keeps a missing file silent; a command says so.
  std::error_code ec;
  if (!IsRemoteLocation(location) && !std::filesystem::exists(PathFromUtf8(location), ec)) {
    throw CliError("cannot open '" + location + "': no such file");
  }
  const MessageCapture messages;
  std::vector<AppearanceParam> params = IsRemoteLocation(location)
                                            ? ReadRemoteParams(location)
                                            : AppearanceXmlReader::ReadParams(location);
  if (!params.empty()) return params;
  if (!messages.Text().empty()) {
    throw CliError("cannot read '" + location + "': " + messages.Text());
  }
  throw CliError("no appearance parameters in '" + location + "'");
}

std::vector<AppearanceArchetype> ReadAppearanceArchetypes(const std::string& location) {
  std::error_code ec;
  if (!IsRemoteLocation(location) && !std::filesystem::exists(PathFromUtf8(location), ec)) {
    throw CliError("cannot open '" + location + "': no such file");
  }
  std::string errorText;
  std::vector<AppearanceArchetype> archetypes =
      ReadArchetypes(location, CurrentLocationFetcher(), {}, &errorText);
  if (!archetypes.empty()) return archetypes;
  if (!errorText.empty()) throw CliError("cannot read '" + location + "': " + errorText);
  throw CliError("no archetypes in '" + location + "'");
}

std::vector<AppearanceParam> ReadArchetypeParams(const std::string& location,
                                                 const std::string& name) {
  const std::vector<AppearanceArchetype> archetypes = ReadAppearanceArchetypes(location);
  const std::optional<std::size_t> found = FindArchetype(archetypes, name);
  if (!found) {
    std::string names;
    for (const AppearanceArchetype& archetype : archetypes) {
      names += (names.empty() ? "'" : ", '") + PrintableText(archetype.name) + "'";
    }
    throw CliError("no archetype named '" + name + "' in '" + location + "'; its archetypes are " +
                   names);
  }
  const AppearanceArchetype& archetype = archetypes[*found];
  if (archetype.params.empty()) {
    throw CliError("archetype '" + name + "' of '" + location + "' holds no parameters");
  }
  return archetype.params;
}

MorphSettings ReadMorphSettings(const ParsedArgs& args) {
  MorphSettings settings;
  for (const std::string& text : args.Values("--weight")) {
    settings.weights.push_back(ParseWeight(text));
  }
  const std::string* location = args.Value("--appearance");
  const std::string* archetype = args.Value("--archetype");
  if (archetype != nullptr && location == nullptr) {
    throw CliError("--archetype needs --appearance FILE-or-URL");
  }
  if (archetype != nullptr) {
    settings.appearance = ReadArchetypeParams(*location, *archetype);
  } else if (location != nullptr) {
    settings.appearance = ReadAppearanceParams(*location);
  }
  return settings;
}

std::vector<bool> SetMorphWeights(LlmMesh& mesh, const MorphSettings& settings) {
  // Applying lower-cases the names in the table it is given; the settings serve every mesh.
  std::vector<AppearanceParam> appearance = settings.appearance;
  mesh.ApplyAppearanceParams(appearance);

  std::vector<bool> matched;
  for (const WeightSetting& setting : settings.weights) {
    const std::string wanted = LowerAscii(EightBitToUtf8(setting.name));
    bool any = false;
    for (MorphTarget& target : mesh.morphTargets) {
      if (LowerAscii(target.DisplayName()) != wanted) continue;
      target.weight = setting.value;
      any = true;
    }
    matched.push_back(any);
  }
  return matched;
}

void RefuseUnnamedWeights(const MorphSettings& settings, const std::vector<bool>& named) {
  for (std::size_t i = 0; i < named.size() && i < settings.weights.size(); ++i) {
    if (!named[i]) throw CliError("no morph target named '" + settings.weights[i].name + "'");
  }
}

void BuildDeformedMesh(LlmMesh& mesh, SceneStore& store, const std::string& name,
                       const MorphSettings& settings) {
  BuildMeshObjects(mesh, store, name);
  RefuseUnnamedWeights(settings, SetMorphWeights(mesh, settings));
  ApplyMorphs(mesh, store, false);
}

}  // namespace tovmar::cli
