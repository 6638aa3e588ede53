#include "appearance/LoadAppearance.h"

#include <vector>

#include "appearance/AppearanceXmlReader.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

bool LoadAppearance(const std::string& location, LlmMesh& mesh, SceneStore& store,
                    bool applyTexCoords, const FetchProgress& progress) {
  std::vector<AppearanceParam> params =
      AppearanceXmlReader::ReadParams(location, CurrentLocationFetcher(), progress);
  if (params.empty()) return false;
  mesh.ApplyAppearanceParams(params);
  ApplyMorphs(mesh, store, applyTexCoords);
  return true;
}

}  // namespace tovmar
