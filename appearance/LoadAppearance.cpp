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

// The records of the document `xml`: those of the archetype `choose` picks when the document holds
// several and a chooser is given (`declined` when it picks none), else all of them.
std::vector<AppearanceParam> ReadChosenParams(std::string_view xml, const ArchetypeChooser& choose,
                                              bool& declined) {
  if (choose) {
    std::vector<AppearanceArchetype> archetypes = ReadArchetypesFromMemory(xml);
    if (archetypes.size() > 1) {
      std::vector<std::string> names;
      for (const AppearanceArchetype& archetype : archetypes) names.push_back(archetype.name);
      const std::optional<std::size_t> chosen = choose(names);
      declined = !chosen || *chosen >= archetypes.size();
      if (declined) return {};
      return std::move(archetypes[*chosen].params);
    }
  }
  return AppearanceXmlReader::ReadParamsFromMemory(xml);
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
