// Numbers that are not finite never reach the drawing or an export: a mesh whose positions,
// normals or texture coordinates hold one is no mesh, a morph record with such a delta is left
// out, and centring and scaling keep finite coordinates finite.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "mesh/LlmMesh.h"
#include "mesh/MeshLoad.h"
#include "mesh/MeshObject.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/support/TempFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(NonFiniteValues, InPositionsNormalsOrTextureCoordinatesTheFileIsNoMesh) {
  struct Case {
    const char* array;
    void (*spoil)(LlmMesh&, float);
    bool mesh;
  };
  const Case cases[] = {
      {"positions", [](LlmMesh& m, float v) { m.coords[2].y = v; }, false},
      {"normals", [](LlmMesh& m, float v) { m.normals[0].z = v; }, false},
      {"texture coordinates", [](LlmMesh& m, float v) { m.texCoords[3].u = v; }, false},
      // Kept as read, never drawn nor exported.
      {"binormals", [](LlmMesh& m, float v) { m.binormals[1].x = v; }, true},
      {"detail texture coordinates", [](LlmMesh& m, float v) { m.detailTexCoords[1].v = v; }, true},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    for (const float value : {kNaN, kInf, -kInf}) {
      SCOPED_TRACE(std::string(c.array) + " " + std::to_string(value));
      LlmMesh written = MakeSampleMesh();
      c.spoil(written, value);
      const std::string bytes = WriteLlm(written);
      LlmMesh parsed;
      const LlmReadReport report = parsed.LoadFromMemory(bytes);
      EXPECT_EQ(report.IsMesh(), c.mesh);
      EXPECT_EQ(report.nonFiniteVertexValues, c.mesh ? 0u : 1u);
      EXPECT_EQ(report.cutIn, LlmSection::kNone);

      LlmMesh window;
      EXPECT_EQ(ReadCompleteMeshFile(folder.Write("spoilt.llm", bytes), window), c.mesh);
    }
  }
}

TEST(NonFiniteValues, MorphRecordsWithSuchDeltasAreLeftOut) {
  LlmMesh written = MakeSampleMesh();
  written.morphTargets[0].vertices[0].coordDelta.z = kNaN;
  written.morphTargets[0].vertices[1].normalDelta.x = kInf;
  written.morphTargets[1].vertices[0].texCoordDelta.v = -kInf;
  // The binormal delta is never used: its record stays.
  written.morphTargets[1].vertices.push_back(Record(1, {0.0f, 0.5f, 0.0f}));
  written.morphTargets[1].vertices.back().binormalDelta.y = kNaN;
  written.morphTargets[1].numVertices = 2;

  LlmMesh m;
  const LlmReadReport report = m.LoadFromMemory(WriteLlm(written));
  EXPECT_TRUE(report.IsMesh());
  EXPECT_EQ(report.skippedMorphRecords, 3u);
  ASSERT_EQ(m.morphTargets.size(), 2u);
  EXPECT_EQ(m.morphTargets[0].numVertices, 0);
  EXPECT_TRUE(m.morphTargets[0].vertices.empty());
  ASSERT_EQ(m.morphTargets[1].numVertices, 1);
  EXPECT_EQ(m.morphTargets[1].vertices[0].vertexIndex, 1);
  EXPECT_EQ(m.numRemaps, 2) << "the walk goes on after the records";
}

// A float sum of large coordinates overflows, and so does scaling a large offset by 5.
TEST(NonFiniteValues, CentringAndScalingKeepFiniteCoordinatesFinite) {
  constexpr float kMax = std::numeric_limits<float>::max();
  const Vec3 positions[] = {
      {3e38f, -3e38f, 1.0f}, {3e38f, -3e38f, 2.0f}, {3e38f, 3e38f, 3.0f}, {-kMax, kMax, 4.0f}};
  const Vec3 normals[4] = {};
  MeshObject o;
  o.Build(4, positions, 0, nullptr, normals, nullptr);
  EXPECT_TRUE(std::isfinite(o.center.x) && std::isfinite(o.center.y));
  EXPECT_FLOAT_EQ(o.center.z, 2.5f);
  for (const Vec3& p : o.positions) {
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z))
        << p.x << " " << p.y;
  }
  // The small coordinates keep their own values.
  EXPECT_FLOAT_EQ(o.positions[0].z, -7.5f);
  EXPECT_FLOAT_EQ(o.positions[3].z, 7.5f);
}

}  // namespace
}  // namespace tovmar
