#include "render/SceneBounds.h"

#include <algorithm>
#include <cmath>

#include "mesh/SceneStore.h"

namespace tovmar {

std::optional<Box> VisibleBounds(SceneStore& store) {
  std::optional<Box> box;
  for (std::size_t i = 0; i < store.MeshCount(); ++i) {
    const MeshObject* object = store.GetMesh(i);
    if (object == nullptr || !object->IsVisible() || object->numPositions <= 0) continue;
    const std::size_t count =
        std::min(object->positions.size(), static_cast<std::size_t>(object->numPositions));
    for (std::size_t v = 0; v < count; ++v) {
      const Vec3& p = object->positions[v];
      // A damaged file may hold infinities or NaNs; they have no place to be framed.
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
      if (!box) {
        box = Box{p, p};
        continue;
      }
      box->low.Set(std::min(box->low.x, p.x), std::min(box->low.y, p.y), std::min(box->low.z, p.z));
      box->high.Set(std::max(box->high.x, p.x), std::max(box->high.y, p.y),
                    std::max(box->high.z, p.z));
    }
  }
  return box;
}

}  // namespace tovmar
