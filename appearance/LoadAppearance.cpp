#include "appearance/LoadAppearance.h"

#include <utility>
#include <vector>

#include "appearance/AppearanceXmlReader.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

bool LoadAppearance(const std::string& location, LlmMesh& mesh, SceneStore& store,
                    bool applyTexCoords, const FetchProgress& progress,
                    std::vector<AppearanceParam>* records) {
  std::vector<AppearanceParam> params =
      AppearanceXmlReader::ReadParams(location, CurrentLocationFetcher(), progress);
  if (params.empty()) return false;
  ApplyAppearanceRecords(params, mesh, store, applyTexCoords);
  if (records != nullptr) *records = std::move(params);
  return true;
}

int ApplyAppearanceRecords(std::vector<AppearanceParam>& records, LlmMesh& mesh, SceneStore& store,
                           bool applyTexCoords) {
  const int set = mesh.ApplyAppearanceParams(records);
  ApplyMorphs(mesh, store, applyTexCoords);
  return set;
}

}  // namespace tovmar
