// The drawable form of a mesh: flat arrays for OpenGL plus placement, texture and flags.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/SceneItem.h"
#include "mesh/Vec.h"

namespace tovmar {

class SceneStore;

class MeshObject {
 public:
  static constexpr std::uint32_t kPrimitiveModeMask = 0x0000FFFFu;
  static constexpr std::uint32_t kTextureDisabled = 0x01000000u;
  static constexpr std::uint32_t kVisible = 0x10000000u;

  MeshObject();
  virtual ~MeshObject();
  MeshObject(const MeshObject&) = delete;
  MeshObject& operator=(const MeshObject&) = delete;

  // Draws the object with the current OpenGL state, with its texture looked up in `store`, the
  // store that holds it; 1 when it drew, 0 when it did nothing. (Body in
  // render/MeshObjectDraw.cpp: drawing belongs to the view's layer.)
  virtual int Draw(SceneStore& store);

  // Sizes the vertex arrays for `count` vertices (texture coordinates start as (0, 0)) and, when
  // `indexCount` is not 0, the index list for `indexCount` indices.
  bool AllocateArrays(std::int32_t count, std::int32_t indexCount);
  void FreeArrays();

  // Fills the object from mesh-file arrays, centres the positions and scales them by 5.
  // Triangles with an index at or past `count` are left out of the index list. Returns the id.
  std::int32_t Build(std::int32_t count, const Vec3* filePositions, std::int32_t indexCount,
                     const std::uint16_t* indices16, const Vec3* fileNormals,
                     const Vec2* fileTexCoords);

  bool ComputeCenter();
  std::int32_t SetTextureId(std::int32_t textureIdToSet);
  std::int32_t GetTextureId() const { return textureId; }

  // The counts are those of the arrays themselves, which a mesh file's 16-bit counts keep well
  // inside 32 bits.
  std::int32_t PositionCount() const { return static_cast<std::int32_t>(positions.size()); }
  std::int32_t NormalCount() const { return static_cast<std::int32_t>(normals.size()); }
  std::int32_t TexCoordCount() const { return static_cast<std::int32_t>(texCoords.size()); }
  std::int32_t IndexCount() const { return static_cast<std::int32_t>(indices.size()); }

  bool IsVisible() const { return (flags & kVisible) != 0; }
  void SetVisible(bool visible);

  SceneItem header;
  std::int32_t drawStyle = 1;
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
  std::vector<Vec2> texCoords;
  std::vector<std::int32_t> indices;
  std::int32_t extraTextureId = -1;
  Vec3 rotation;
  Vec3 translation;
  Vec3 scale{1.0f, 1.0f, 1.0f};
  std::int32_t textureId = -1;
  std::uint32_t flags = kVisible | 4u;
  Vec3 center;
};

}  // namespace tovmar
