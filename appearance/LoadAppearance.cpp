#include "appearance/LoadAppearance.h"

#include <utility>
#include <vector>

#include "appearance/AppearanceArchetypes.h"
#include "appearance/AppearanceXmlReader.h"
#include "base/MessageSink.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

namespace {

// The records of the document `xml`: with `choose`, those of its one archetype or of the one
// `choose` picks among several (`declined` when it picks none); without, all of them. Records stand
// only inside archetypes, so one archetype's are the whole document's, and the document is parsed
// once either way.
std::vector<AppearanceParam> ReadChosenParams(std::string_view xml, const ArchetypeChooser& choose,
                                              bool& declined) {
  if (!choose) return AppearanceXmlReader::ReadParamsFromMemory(xml);
  std::vector<AppearanceArchetype> archetypes = ReadArchetypesFromMemory(xml);
  if (archetypes.empty()) return {};
  std::size_t chosen = 0;
  if (archetypes.size() > 1) {
    std::vector<std::string> names;
    for (const AppearanceArchetype& archetype : archetypes) names.push_back(archetype.name);
    const std::optional<std::size_t> pick = choose(names);
    declined = !pick || *pick >= archetypes.size();
    if (declined) return {};
    chosen = *pick;
  }
  return std::move(archetypes[chosen].params);
}

}  // namespace

bool LoadAppearance(const std::string& location, LlmMesh& mesh, SceneStore& store,
                    bool applyTexCoords, const FetchProgress& progress,
                    std::vector<AppearanceParam>* records, AppearanceLoadOutcome* outcome,
                    const ArchetypeChooser& chooseArchetype) {
  FetchResult fetched = CurrentLocationFetcher().Fetch(location, progress);
  std::vector<AppearanceParam> params;
  bool declined = false;
  if (fetched.status == FetchStatus::kLoaded) {
    params = ReadChosenParams(fetched.bytes, chooseArchetype, declined);
    fetched.bytes = std::string();
  } else if (fetched.status == FetchStatus::kFailed && outcome == nullptr) {
    ShowMessage(fetched.errorText);
  }
  int set = 0;
  if (!params.empty()) {
    set = mesh.ApplyAppearanceParams(params);
    ApplyMorphs(mesh, store, applyTexCoords);
  }
  if (outcome != nullptr) *outcome = AppearanceLoadOutcome{std::move(fetched), set, declined};
  if (params.empty()) return false;
  if (records != nullptr) *records = std::move(params);
  return true;
}

}  // namespace tovmar
