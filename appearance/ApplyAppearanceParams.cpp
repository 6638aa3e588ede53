#include <cmath>

#include "appearance/AppearanceParam.h"
#include "base/Text.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

int LlmMesh::ApplyAppearanceParams(std::vector<AppearanceParam>& params) {
  // Names compare after lower-casing both sides; the records are lower-cased in the table.
  for (AppearanceParam& param : params) param.name = LowerAscii(param.name);

  // Each target takes the value of the first record that names it, bit for bit. A value that is
  // not a finite number ("nan", "inf", "1e39") is no weight: such a record is passed over.
  int matched = 0;
  for (MorphTarget& target : morphTargets) {
    const std::string key = LowerAscii(target.DisplayName());
    for (const AppearanceParam& param : params) {
      if (param.name == key && std::isfinite(param.value)) {
        target.weight = param.value;
        ++matched;
        break;
      }
    }
  }
  return matched;
}

}  // namespace tovmar
