// The morph weights a command sets: an appearance file's records, then --weight settings,
// applied to a mesh the way the application applies them.
#pragma once

#include <string>
#include <vector>

#include "appearance/AppearanceParam.h"
#include "cli/Options.h"

namespace tovmar {
class LlmMesh;
class SceneStore;
}  // namespace tovmar

namespace tovmar::cli {

// The two options, described alike wherever they are accepted.
inline constexpr OptionInfo kAppearanceOption{
    "--appearance", "", "FILE-or-URL",
    "First set the weights of the morph targets that this appearance file (a path, or an "
    "http:// or https:// address) names.",
    false};
inline constexpr OptionInfo kWeightOption{
    "--weight", "", "NAME=VALUE",
    "Set the weight of the morph targets called NAME (A-Z in any case); repeatable.", true};

struct WeightSetting {
  std::string name;
  float value = 0.0f;
};

struct MorphSettings {
  // Empty without --appearance.
  std::vector<AppearanceParam> appearance;
  std::vector<WeightSetting> weights;
};

// The records of the appearance file at `location`, in file order. Throws CliError when the
// file is missing or the location yields no records, with the fetch's error text when it broke
// off.
std::vector<AppearanceParam> ReadAppearanceParams(const std::string& location);

// --appearance, read here once, and every --weight of `args`. Throws CliError for a malformed
// weight or an appearance location that yields no records.
MorphSettings ReadMorphSettings(const ParsedArgs& args);

// Sets the appearance's weights on the morph targets of `mesh` and then the --weight ones, each
// on every target of that name (A-Z compared without letter case). Returns, for each --weight in
// order, whether it named a target of `mesh`.
std::vector<bool> SetMorphWeights(LlmMesh& mesh, const MorphSettings& settings);

// Throws CliError naming the first --weight of `settings` that `named` marks as naming no target.
void RefuseUnnamedWeights(const MorphSettings& settings, const std::vector<bool>& named);

// Builds the mesh objects of `mesh` in `store` as loading a mesh does (both named `name`), sets
// the appearance's weights and then the --weight ones, and deforms mesh object 0 without moving
// texture coordinates. Throws CliError when a --weight names no morph target.
void BuildDeformedMesh(LlmMesh& mesh, SceneStore& store, const std::string& name,
                       const MorphSettings& settings);

}  // namespace tovmar::cli
