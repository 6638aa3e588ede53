#include "appearance/LoadAppearance.h"

#include <utility>
#include <vector>

#include "appearance/AppearanceXmlReader.h"
#include "base/MessageSink.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

bool LoadAppearance(const std::string& location, LlmMesh& mesh, SceneStore& store,
                    bool applyTexCoords, const FetchProgress& progress,
                    std::vector<AppearanceParam>* records, AppearanceLoadOutcome* outcome) {
  FetchResult fetched = CurrentLocationFetcher().Fetch(location, progress);
  std::vector<AppearanceParam> params;
  if (fetched.status == FetchStatus::kLoaded) {
    params = AppearanceXmlReader::ReadParamsFromMemory(fetched.bytes);
    fetched.bytes = std::string();
  } else if (fetched.status == FetchStatus::kFailed && outcome == nullptr) {
    ShowMessage(fetched.errorText);
  }
  int set = 0;
  if (!params.empty()) {
    set = mesh.ApplyAppearanceParams(params);
    ApplyMorphs(mesh, store, applyTexCoords);
  }
  if (outcome != nullptr) *outcome = AppearanceLoadOutcome{std::move(fetched), set};
  if (params.empty()) return false;
  if (records != nullptr) *records = std::move(params);
  return true;
}

}  // namespace tovmar
