// Small hand-built mesh records, where their sections start in the written file, and checks
// that compare records field by field.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "mesh/LlmMesh.h"
#include "tools/LlmWriter.h"

namespace tovmar {

// Readable values in failure messages.
inline void PrintTo(const Vec3& v, std::ostream* os) {
  *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
inline void PrintTo(const Vec2& v, std::ostream* os) {
  *os << "(" << v.u << ", " << v.v << ")";
}

inline MorphVertex Record(std::int32_t vertexIndex, Vec3 coordDelta, Vec3 normalDelta = {},
                          Vec2 texCoordDelta = {}) {
  MorphVertex r;
  r.vertexIndex = vertexIndex;
  r.coordDelta = coordDelta;
  r.normalDelta = normalDelta;
  r.binormalDelta = {0.5f, 0.25f, 0.125f};
  r.texCoordDelta = texCoordDelta;
  return r;
}

inline NameSlot Slot(const std::string& text) {
  NameSlot slot{};
  std::memcpy(slot.data(), text.data(), std::min<std::size_t>(text.size(), 64));
  return slot;
}

// The text of a name slot up to its first zero byte.
inline std::string SlotText(const NameSlot& slot) {
  return std::string(slot.data());
}

// A four-vertex, two-triangle mesh with both optional arrays, two joints, two morph targets and
// two remaps; every field holds a value of its own so that a misplaced read shows.
inline LlmMesh MakeSampleMesh() {
  LlmMesh m;
  const char header[] = "Linden Binary Mesh 1.0";
  std::memcpy(m.header.data(), header, sizeof header);
  m.header[23] = '\x7f';
  m.hasWeights = 1;
  m.hasDetailTexCoords = 1;
  m.position = {0.5f, 1.5f, 2.5f};
  m.rotation = {10.0f, 20.0f, 30.0f};
  m.rotationOrder = 2;
  m.scale = {1.0f, 1.25f, 1.5f};
  m.numVertices = 4;
  for (int i = 0; i < 4; ++i) {
    const auto f = static_cast<float>(i);
    m.coords.push_back({f, 2.0f * f, 3.0f * f + 1.0f});
    m.normals.push_back({0.0f, f / 4.0f, 1.0f});
    m.binormals.push_back({1.0f, 0.0f, -f});
    m.texCoords.push_back({0.25f * f, 1.0f - 0.25f * f});
    m.detailTexCoords.push_back({0.1f * f, 0.2f * f});
    m.weights.push_back({static_cast<std::uint8_t>(i), 0x11, 0x22, 0x33});
  }
  m.numFaces = 2;
  m.faces = {0, 1, 2, 2, 1, 3};
  m.numSkinJoints = 2;
  m.skinJointNames = {Slot("mPelvis"), Slot("mHipLeft")};
  m.morphTargets.push_back(
      MakeMorphTarget("Smile", {Record(0, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.2f, 0.4f}),
                                Record(3, {0.0f, 0.0f, 1.0f})}));
  m.morphTargets.push_back(MakeMorphTarget("Frown", {Record(2, {0.0f, -1.0f, 0.0f})}));
  m.numRemaps = 2;
  m.remaps = {{4, 0}, {5, 1}};
  return m;
}

// Offset of the first morph name block in the file image of `m`.
inline std::size_t MorphSectionOffset(const LlmMesh& m) {
  std::size_t perVertex = 12 + 12 + 12 + 8;
  if (m.hasDetailTexCoords != 0) perVertex += 8;
  if (m.hasWeights != 0) perVertex += 4;
  return 65 + perVertex * m.numVertices + 2 + 6 * std::size_t{m.numFaces} + 2 +
         64 * std::size_t{m.numSkinJoints};
}

// Offset of the morph record count of target `index` in the file image of `m`.
inline std::size_t MorphCountOffset(const LlmMesh& m, std::size_t index) {
  std::size_t offset = MorphSectionOffset(m);
  for (std::size_t i = 0; i < index; ++i) {
    offset += 64 + 4 + 48 * static_cast<std::size_t>(m.morphTargets[i].numVertices);
  }
  return offset + 64;
}

inline void PutI32(std::string& bytes, std::size_t offset, std::int32_t value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

inline void PutU16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

inline bool SameRecord(const MorphVertex& a, const MorphVertex& b) {
  return a.vertexIndex == b.vertexIndex && a.coordDelta == b.coordDelta &&
         a.normalDelta == b.normalDelta && a.binormalDelta == b.binormalDelta &&
         a.texCoordDelta == b.texCoordDelta;
}

// Every field but the path is the same in both records (floats compared exactly).
inline void ExpectSameContents(const LlmMesh& actual, const LlmMesh& expected) {
  EXPECT_EQ(actual.header, expected.header);
  EXPECT_EQ(actual.hasWeights, expected.hasWeights);
  EXPECT_EQ(actual.hasDetailTexCoords, expected.hasDetailTexCoords);
  EXPECT_EQ(actual.position, expected.position);
  EXPECT_EQ(actual.rotation, expected.rotation);
  EXPECT_EQ(actual.rotationOrder, expected.rotationOrder);
  EXPECT_EQ(actual.scale, expected.scale);
  EXPECT_EQ(actual.numVertices, expected.numVertices);
  EXPECT_EQ(actual.coords, expected.coords);
  EXPECT_EQ(actual.normals, expected.normals);
  EXPECT_EQ(actual.binormals, expected.binormals);
  EXPECT_EQ(actual.texCoords, expected.texCoords);
  EXPECT_EQ(actual.detailTexCoords, expected.detailTexCoords);
  EXPECT_EQ(actual.weights, expected.weights);
  EXPECT_EQ(actual.numFaces, expected.numFaces);
  EXPECT_EQ(actual.faces, expected.faces);
  EXPECT_EQ(actual.numSkinJoints, expected.numSkinJoints);
  EXPECT_EQ(actual.skinJointNames, expected.skinJointNames);
  ASSERT_EQ(actual.morphTargets.size(), expected.morphTargets.size());
  for (std::size_t i = 0; i < actual.morphTargets.size(); ++i) {
    const MorphTarget& a = actual.morphTargets[i];
    const MorphTarget& e = expected.morphTargets[i];
    EXPECT_EQ(a.name, e.name) << "target " << i;
    EXPECT_EQ(a.numVertices, e.numVertices) << "target " << i;
    ASSERT_EQ(a.vertices.size(), e.vertices.size()) << "target " << i;
    for (std::size_t k = 0; k < a.vertices.size(); ++k) {
      EXPECT_TRUE(SameRecord(a.vertices[k], e.vertices[k])) << "target " << i << " record " << k;
    }
    EXPECT_EQ(a.weight, e.weight) << "target " << i;
    EXPECT_EQ(a.maxWeight, e.maxWeight) << "target " << i;
    EXPECT_EQ(a.minWeight, e.minWeight) << "target " << i;
  }
  EXPECT_EQ(actual.numRemaps, expected.numRemaps);
  ASSERT_EQ(actual.remaps.size(), expected.remaps.size());
  for (std::size_t i = 0; i < actual.remaps.size(); ++i) {
    EXPECT_EQ(actual.remaps[i].source, expected.remaps[i].source) << "remap " << i;
    EXPECT_EQ(actual.remaps[i].destination, expected.remaps[i].destination) << "remap " << i;
  }
}

}  // namespace tovmar
