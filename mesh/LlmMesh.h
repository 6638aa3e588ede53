// The in-memory record of one ".llm" avatar mesh file and its value types.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/FillByReadVector.h"
#include "mesh/LlmReadReport.h"
#include "mesh/Vec.h"

namespace tovmar {

struct AppearanceParam;

// One per-vertex delta of a morph target: 48 bytes in the file.
struct MorphVertex {
  std::int32_t vertexIndex = 0;
  Vec3 coordDelta;
  Vec3 normalDelta;
  Vec3 binormalDelta;
  Vec2 texCoordDelta;
};
static_assert(sizeof(MorphVertex) == 48, "MorphVertex must match its file record");

// The records of one morph target; a read fills them without zeroing them first.
using MorphRecords = FillByReadVector<MorphVertex>;

// Two integers per remap, kept as read.
struct VertexRemap {
  std::int32_t source = 0;
  std::int32_t destination = 0;
};
static_assert(sizeof(VertexRemap) == 8, "VertexRemap must match its file record");

// The 4 weight bytes of one vertex, kept as read and not interpreted.
using VertexWeight = std::array<std::uint8_t, 4>;

// A 64-byte name block as read plus a terminating zero byte.
using NameSlot = std::array<char, 65>;

struct MorphTarget {
  NameSlot name{};
  std::int32_t numVertices = 0;
  MorphRecords vertices;
  float weight = 0.0f;
  float maxWeight = 2.0f;
  float minWeight = -2.0f;

  // The name as UTF-8 text: the bytes up to the first zero, decoded as UTF-8 where they are
  // valid UTF-8 and as Latin-1 otherwise, so every name shows and compares the same way.
  std::string DisplayName() const;
};

class LlmMesh {
 public:
  LlmMesh() = default;
  LlmMesh(const LlmMesh&) = delete;
  LlmMesh& operator=(const LlmMesh&) = delete;
  LlmMesh(LlmMesh&&) = default;
  LlmMesh& operator=(LlmMesh&&) = default;
  ~LlmMesh() = default;

  // Reads the file at `path` (UTF-8) and takes it when it is a mesh (see LlmReadReport::IsMesh):
  // the record is replaced and its path set. A file that is not a mesh, or cannot be read, keeps
  // the previous contents; an unopenable one still records the new path. Always returns true.
  bool Load(const std::string& path);

  // Parses a whole file image: the record is replaced by what `bytes` supply, whether or not they
  // are a mesh (the path is kept), and the report says what they lacked.
  LlmReadReport LoadFromMemory(std::string_view bytes);

  // Frees every array and target and zeroes every count, flag and placement field; the path
  // is kept.
  void Release();

  // The first morph target whose display name equals `name` exactly, or nullptr.
  MorphTarget* FindMorphTarget(std::string_view name);

  // Sets the weight of every target that a record names (names compared after lower-casing A-Z
  // in both; the first matching record whose value is a finite number wins; lower-cases the
  // records' names in place). Returns how many targets were set. (Body in
  // appearance/ApplyAppearanceParams.cpp.)
  int ApplyAppearanceParams(std::vector<AppearanceParam>& params);

  std::string path;
  std::array<char, 24> header{};
  std::uint8_t hasWeights = 0;
  std::uint8_t hasDetailTexCoords = 0;
  Vec3 position;
  Vec3 rotation;
  std::uint8_t rotationOrder = 0;
  Vec3 scale;
  std::uint16_t numVertices = 0;
  // The vertex arrays, like the morph records, are filled by the read without zeroing first.
  FillByReadVector<Vec3> coords;
  FillByReadVector<Vec3> normals;
  FillByReadVector<Vec3> binormals;
  FillByReadVector<Vec2> texCoords;
  FillByReadVector<Vec2> detailTexCoords;
  FillByReadVector<VertexWeight> weights;
  std::uint16_t numFaces = 0;
  std::vector<std::uint16_t> faces;
  std::uint16_t numSkinJoints = 0;
  std::vector<NameSlot> skinJointNames;
  std::vector<MorphTarget> morphTargets;
  std::int32_t numRemaps = 0;
  std::vector<VertexRemap> remaps;
};

}  // namespace tovmar
