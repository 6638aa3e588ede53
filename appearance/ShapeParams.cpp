#include "appearance/ShapeParams.h"

#include <cmath>

#include "appearance/AppearanceXmlWriter.h"
#include "base/Text.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

void RememberAppearanceIds(const std::vector<AppearanceParam>& records, AppearanceIds& ids) {
  AppearanceIds read;
  for (const AppearanceParam& record : records) {
    if (std::isfinite(record.value)) read.emplace(LowerAscii(record.name), record.id);
  }
  for (const auto& [name, id] : read) ids[name] = id;
}

ShapeParams MakeShapeParams(const LlmMesh& mesh, const AppearanceIds& ids) {
  ShapeParams shape;
  // Each written name with its weight: the reader gives every target of a name the first
  // record's value.
  std::map<std::string, float> written;
  for (const MorphTarget& target : mesh.morphTargets) {
    const std::string name = target.DisplayName();
    const std::string key = LowerAscii(name);
    const auto same = written.find(key);
    if (same != written.end()) {
      if (same->second != target.weight) shape.leftOut.push_back(name);
      continue;
    }
    if (!NameReadsBack(name) || !std::isfinite(target.weight)) {
      shape.leftOut.push_back(name);
      continue;
    }
    written.emplace(key, target.weight);
    AppearanceParam param;
    if (const auto id = ids.find(key); id != ids.end()) param.id = id->second;
    param.name = name;
    param.value = target.weight;
    shape.params.push_back(std::move(param));
  }
  return shape;
}

}  // namespace tovmar
