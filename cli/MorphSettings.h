// The morph weights a command sets: an appearance file's records, then --weight settings,
// applied to a mesh the way the application applies them.
#pragma once

#include <string>
#include <vector>

#include "appearance/AppearanceArchetypes.h"
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
inline constexpr OptionInfo kArchetypeOption{
    "--archetype", "", "NAME",
    "With --appearance: use the archetype called NAME of a file that holds several (tovmar-cli "
    "params FILE --archetypes lists them) instead of the first.",
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

// The archetypes of the appearance file at `location`, in file order. Throws CliError as
// ReadAppearanceParams does, and when the file holds no archetype.
std::vector<AppearanceArchetype> ReadAppearanceArchetypes(const std::string& location);

// The records of the archetype called `name` (as FindArchetype matches it) of the appearance file
// at `location`. Throws CliError naming every archetype of the file when none is called so, and
// when the one chosen holds no records.
std::vector<AppearanceParam> ReadArchetypeParams(const std::string& location,
                                                 const std::string& name);

// --appearance (with --archetype, that archetype's records), read here once, and every --weight
// of `args`. Throws CliError for a malformed weight, --archetype without --appearance, or an
// appearance location that yields no records.
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
