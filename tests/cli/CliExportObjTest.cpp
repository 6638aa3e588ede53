#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "tests/cli/CliFixtures.h"
#include "tests/cli/CliTestPaths.h"
#include "tests/cli/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

void ExpectNear(const std::array<double, 3>& actual, Vec3 expected, double tolerance,
                const std::string& what) {
  EXPECT_NEAR(actual[0], expected.x, tolerance) << what;
  EXPECT_NEAR(actual[1], expected.y, tolerance) << what;
  EXPECT_NEAR(actual[2], expected.z, tolerance) << what;
}

TEST(CliExportObj, WithoutWeightsWritesTheFileGeometry) {
  TempFolder folder;
  const LlmMesh mesh = MakeFixtureMesh();
  ASSERT_TRUE(WriteFileBytes(folder.File("mesh.llm"), WriteLlm(mesh)));

  const ProcessResult r =
      RunProcess(kCliPath, {"export-obj", folder.File("mesh.llm"), "-o", folder.File("out.obj")});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"mesh.llm", "out.obj"}));

  const ObjFile obj = ParseObj(ReadFileText(folder.File("out.obj")));
  ASSERT_EQ(obj.v.size(), 4u);
  ASSERT_EQ(obj.vt.size(), 4u);
  ASSERT_EQ(obj.vn.size(), 4u);
  ASSERT_EQ(obj.f.size(), 2u);
  EXPECT_EQ(obj.otherLines, 0);
  for (std::size_t i = 0; i < 4; ++i) {
    ExpectNear(obj.v[i], mesh.coords[i], 1e-6, "v " + std::to_string(i));
    // Texture coordinates and normals are written so that they read back exactly.
    EXPECT_EQ(static_cast<float>(obj.vt[i][0]), mesh.texCoords[i].u);
    EXPECT_EQ(static_cast<float>(obj.vt[i][1]), mesh.texCoords[i].v);
    ExpectNear(obj.vn[i], mesh.normals[i], 0.0, "vn " + std::to_string(i));
  }
  EXPECT_EQ(obj.f[0].corners, (std::array<std::string, 3>{"1/1/1", "2/2/2", "3/3/3"}));
  EXPECT_EQ(obj.f[1].corners, (std::array<std::string, 3>{"1/1/1", "3/3/3", "4/4/4"}));
}

// Every target whose name matches in any A-Z letter case takes the weight; each vertex moves by
// weight x delta in the file's coordinates, and the others stay.
TEST(CliExportObj, WeightsMoveTheMatchingTargetsVertices) {
  TempFolder folder;
  ASSERT_TRUE(WriteFileBytes(folder.File("mesh.llm"), WriteLlm(MakeFixtureMesh())));

  const ProcessResult r =
      RunProcess(kCliPath, {"export-obj", folder.File("mesh.llm"), "--weight", "ARM_UP=0.5",
                            "--weight=other=-0.25", "--output", folder.File("out.obj")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  const ObjFile obj = ParseObj(ReadFileText(folder.File("out.obj")));
  ASSERT_EQ(obj.v.size(), 4u);
  ExpectNear(obj.v[0], {0.0f, 1.0f, 2.0f}, 1e-5, "Other moved vertex 0 by -0.25 x (4,4,4)");
  ExpectNear(obj.v[1], {2.05f, 2.15f, 3.0f}, 1e-5, "both Arm_Up targets moved vertex 1");
  ExpectNear(obj.v[2], {1.0f, 3.0f, 3.0f}, 1e-5, "vertex 2 has no records");
  ExpectNear(obj.v[3], {1.0f, 2.0f, 3.9f}, 1e-5, "Arm_Up moved vertex 3");
}

// Triangles and morph records that name vertices the mesh lacks never reach the output.
TEST(CliExportObj, IndicesOutsideTheMeshAreLeftOut) {
  TempFolder folder;
  LlmMesh mesh = MakeFixtureMesh();
  mesh.numFaces = 3;
  mesh.faces.insert(mesh.faces.end(), {0, 1, 9});
  mesh.morphTargets[2].vertices[0].vertexIndex = 7;
  ASSERT_TRUE(WriteFileBytes(folder.File("mesh.llm"), WriteLlm(mesh)));

  const ProcessResult r = RunProcess(kCliPath, {"export-obj", folder.File("mesh.llm"), "--weight",
                                                "Other=1", "-o", folder.File("out.obj")});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.err, "インデックス数上限を超えています\n");
  const ObjFile obj = ParseObj(ReadFileText(folder.File("out.obj")));
  ASSERT_EQ(obj.f.size(), 2u);
  for (const ObjFace& face : obj.f) {
    for (const long p : face.positions) EXPECT_TRUE(p >= 1 && p <= 4) << p;
  }
  ExpectNear(obj.v[0], mesh.coords[0], 1e-6, "the skipped record moved nothing");
}

std::string UpperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

TEST(CliExportObj, RealMeshMovesByItsTargetsDeltas) {
  const std::string path = RealMeshPath("avatar_lower_body.llm");
  if (path.empty()) GTEST_SKIP() << "the real meshes are not here";
  LlmMesh mesh;
  mesh.Load(path);
  ASSERT_EQ(mesh.numVertices, 977);
  const auto target = std::find_if(mesh.morphTargets.begin(), mesh.morphTargets.end(),
                                   [](const MorphTarget& t) { return t.numVertices > 0; });
  ASSERT_NE(target, mesh.morphTargets.end());
  std::map<std::int32_t, Vec3> moved;
  for (const MorphVertex& r : target->vertices) moved[r.vertexIndex] += r.coordDelta;

  TempFolder folder;
  const ProcessResult r =
      RunProcess(kCliPath, {"export-obj", path, "--weight",
                            UpperAscii(target->DisplayName()) + "=1", "-o", folder.File("o.obj")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  const ObjFile obj = ParseObj(ReadFileText(folder.File("o.obj")));
  ASSERT_EQ(obj.v.size(), 977u);
  EXPECT_EQ(obj.vt.size(), 977u);
  EXPECT_EQ(obj.f.size(), 1654u);
  for (std::size_t i = 0; i < obj.v.size(); ++i) {
    Vec3 expected = mesh.coords[i];
    if (const auto it = moved.find(static_cast<std::int32_t>(i)); it != moved.end()) {
      expected += it->second;
    }
    ExpectNear(obj.v[i], expected, 1e-5, "vertex " + std::to_string(i));
  }
}

}  // namespace
}  // namespace tovmar::test
