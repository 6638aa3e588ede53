#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/FixtureMesh.h"
#include "tests/support/RunProcess.h"
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
    ExpectNear(obj.v[i], mesh.coords[i], 0.0, "v " + std::to_string(i));
    // Texture coordinates and normals are written so that they read back exactly.
    EXPECT_EQ(static_cast<float>(obj.vt[i][0]), mesh.texCoords[i].u);
    EXPECT_EQ(static_cast<float>(obj.vt[i][1]), mesh.texCoords[i].v);
    ExpectNear(obj.vn[i], mesh.normals[i], 0.0, "vn " + std::to_string(i));
  }
  EXPECT_EQ(obj.f[0].corners, (std::array<std::string, 3>{"1/1/1", "2/2/2", "3/3/3"}));
  EXPECT_EQ(obj.f[1].corners, (std::array<std::string, 3>{"1/1/1", "3/3/3", "4/4/4"}));
}

// With no weights every position is the file's own float, whatever its size: nothing is lost on
// the way through the drawing's centred and scaled coordinates.
TEST(CliExportObj, WithoutWeightsEveryPositionIsTheFilesOwnFloat) {
  TempFolder folder;
  LlmMesh mesh = MakeFixtureMesh();
  mesh.coords = {{0.1f, 1e-7f, 123456.789f},
                 {1e30f, -2.5f, 3.3333333f},
                 {-3.4e38f, std::nextafter(1.0f, 2.0f), 7e-45f},
                 {0.30000001f, -0.0f, 65504.0f}};
  ASSERT_TRUE(WriteFileBytes(folder.File("mesh.llm"), WriteLlm(mesh)));

  const ProcessResult r = RunProcess(kCliPath, {"export-obj", folder.File("mesh.llm"), "--weight",
                                                "Arm_Up=0", "-o", folder.File("out.obj")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  const ObjFile obj = ParseObj(ReadFileText(folder.File("out.obj")));
  ASSERT_EQ(obj.v.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const Vec3 read{static_cast<float>(obj.v[i][0]), static_cast<float>(obj.v[i][1]),
                    static_cast<float>(obj.v[i][2])};
    EXPECT_EQ(read, mesh.coords[i]) << "v " << i;
  }
}

// A file that is not a mesh is an error for the commands that use the mesh: one line naming the
// file and what it lacks, status 2, nothing written. A mesh whose tail is cut works.
TEST(CliExportObj, FilesThatAreNotMeshesAreErrors) {
  TempFolder folder;
  const std::string whole = WriteLlm(MakeFixtureMesh());
  const std::string cut = folder.File("cut.llm");
  ASSERT_TRUE(WriteFileBytes(cut, whole.substr(0, 100)));
  const std::string expected = "tovmar-cli: '" + cut +
                               "' is not a mesh: the file ends inside the vertex arrays: 35 of the "
                               "192 bytes of 4 vertices\n";
  for (const char* command : {"export-obj", "render"}) {
    SCOPED_TRACE(command);
    const ProcessResult r = RunProcess(kCliPath, {command, cut, "-o", folder.File("out")});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, expected);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"cut.llm"});
  }

  ASSERT_TRUE(WriteFileBytes(cut, whole.substr(0, whole.size() - 2)));
  const ProcessResult tail = RunProcess(kCliPath, {"export-obj", cut, "-o", folder.File("t.obj")});
  EXPECT_EQ(tail.exitStatus, 0) << tail.err;
  EXPECT_EQ(ParseObj(ReadFileText(folder.File("t.obj"))).v.size(), 4u);
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

// Y up as glTF turns the axes, normals of unit length (a zero normal stays zero), and a material
// file beside the OBJ file naming the texture from the OBJ file's folder.
TEST(CliExportObj, YUpUnitNormalsAndATexturedMaterial) {
  TempFolder folder;
  LlmMesh mesh = MakeFixtureMesh();
  mesh.normals[1] = {0, 0, 4};
  mesh.normals[2] = {0, 0, 0};
  ASSERT_TRUE(WriteFileBytes(folder.File("mesh.llm"), WriteLlm(mesh)));
  std::filesystem::create_directory(folder.Path() / "tex");
  ASSERT_TRUE(WriteFileBytes(folder.File("tex/skin.png"), "not read"));

  const ProcessResult r =
      RunProcess(kCliPath, {"export-obj", folder.File("mesh.llm"), "--up", "y", "--texture",
                            folder.File("tex/skin.png"), "-o", folder.File("my head.obj")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::string text = ReadFileText(folder.File("my head.obj"));
  const ObjFile obj = ParseObj(text);
  ASSERT_EQ(obj.v.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const Vec3& p = mesh.coords[i];
    ExpectNear(obj.v[i], {p.y, p.z, p.x}, 0.0, "v " + std::to_string(i));
  }
  ExpectNear(obj.vn[0], {0, 1, 0}, 0.0, "unit");
  ExpectNear(obj.vn[1], {0, 1, 0}, 0.0, "made unit");
  ExpectNear(obj.vn[2], {0, 0, 0}, 0.0, "zero");
  EXPECT_EQ(obj.otherLines, 2);
  EXPECT_NE(text.find("\nmtllib my head.mtl\n"), std::string::npos) << text;
  EXPECT_LT(text.find("\nusemtl my_head\n"), text.find("\nf "));
  const std::string mtl = ReadFileText(folder.File("my head.mtl"));
  EXPECT_NE(mtl.find("\nnewmtl my_head\n"), std::string::npos) << mtl;
  EXPECT_NE(mtl.find("\nmap_Kd tex/skin.png\n"), std::string::npos) << mtl;

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--up", "x", "-o", folder.File("b.obj")},
        {"--texture", folder.File("missing.png"), "-o", folder.File("b.obj")},
        {"--texture", folder.File("tex/skin.png"), "-o", "-"}}) {
    std::vector<std::string> args = {"export-obj", folder.File("mesh.llm")};
    args.insert(args.end(), bad.begin(), bad.end());
    const ProcessResult refused = RunProcess(kCliPath, args);
    EXPECT_EQ(refused.exitStatus, 2) << bad[1];
    EXPECT_EQ(refused.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(folder.File("b.obj")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("b.mtl")));
}

}  // namespace
}  // namespace tovmar::test
