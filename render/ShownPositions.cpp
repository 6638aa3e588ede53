#include "render/ShownPositions.h"

#include <array>

#include "mesh/SceneStore.h"

namespace tovmar {

std::vector<Vec3> ShownPositions(SceneStore& store, const Quaternion& orientation) {
  const std::array<double, 16> r = RotationMatrix(orientation);
  std::vector<Vec3> shown;
  for (std::size_t i = 0; i < store.MeshCount(); ++i) {
    const MeshObject* object = store.GetMesh(i);
    if (object == nullptr || !object->IsVisible()) continue;
    for (const Vec3& m : object->positions) {
      shown.push_back(Vec3{static_cast<float>(r[0] * m.x + r[4] * m.y + r[8] * m.z),
                           static_cast<float>(r[1] * m.x + r[5] * m.y + r[9] * m.z),
                           static_cast<float>(r[2] * m.x + r[6] * m.y + r[10] * m.z)});
    }
  }
  return shown;
}

}  // namespace tovmar
