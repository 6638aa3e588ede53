#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "base/Text.h"
#include "mesh/LlmMesh.h"
#include "tests/support/RunProcess.h"
#include "tools/SampleFiles.h"
#include "tools/SampleParts.h"

namespace tovmar::test {
namespace {

using sample::kSampleAppearanceFile;
using sample::kSampleMeshFile;
using sample::kSampleTextureFile;

// Generates the sample files once for all tests of this file.
class SampleGenerator : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = new TempFolder();
    s_result = RunProcess(TOVMAR_SAMPLE_TOOL_PATH, {s_folder->File("out")});
  }
  static void TearDownTestSuite() {
    delete s_folder;
    s_folder = nullptr;
  }
  static std::string File(const char* name) { return s_folder->File(std::string("out/") + name); }

  static TempFolder* s_folder;
  static ProcessResult s_result;
};

TempFolder* SampleGenerator::s_folder = nullptr;
ProcessResult SampleGenerator::s_result;

double Length(const Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

TEST_F(SampleGenerator, WritesTheSameBytesEveryTime) {
  ASSERT_EQ(s_result.exitStatus, 0) << s_result.err;
  TempFolder again;
  ASSERT_EQ(RunProcess(TOVMAR_SAMPLE_TOOL_PATH, {again.Path().string()}).exitStatus, 0);
  for (const char* name : {kSampleMeshFile, kSampleTextureFile, kSampleAppearanceFile}) {
    const std::string first = ReadFileText(File(name));
    EXPECT_FALSE(first.empty()) << name;
    EXPECT_EQ(first, ReadFileText(again.File(name))) << name;
  }
}

TEST_F(SampleGenerator, MeshIsAWellFormedBody) {
  LlmMesh mesh;
  mesh.Load(File(kSampleMeshFile));
  const std::size_t n = mesh.numVertices;
  ASSERT_GE(n, 1000u);
  ASSERT_GT(mesh.numFaces, 1000);
  EXPECT_NE(mesh.hasWeights, 0);
  EXPECT_EQ(mesh.hasDetailTexCoords, 0);
  EXPECT_GT(mesh.numSkinJoints, 1);
  EXPECT_GT(mesh.numRemaps, 0);

  // Faces in range and wound counter-clockwise seen from outside: the triangle's own normal
  // agrees with its vertices' normals.
  for (std::size_t f = 0; f < mesh.numFaces; ++f) {
    const std::uint16_t* t = &mesh.faces[f * 3];
    ASSERT_TRUE(t[0] < n && t[1] < n && t[2] < n) << "face " << f;
    Vec3 ab = mesh.coords[t[1]];
    ab -= mesh.coords[t[0]];
    Vec3 ac = mesh.coords[t[2]];
    ac -= mesh.coords[t[0]];
    Vec3 normals = mesh.normals[t[0]];
    normals += mesh.normals[t[1]];
    normals += mesh.normals[t[2]];
    EXPECT_GT(Dot(Cross(ab, ac), normals), 0.0f) << "face " << f;
  }

  // Unit normals, texture coordinates in 0..1, a body about 1.8 m tall centred on X/Y.
  Vec3 low = mesh.coords[0], high = mesh.coords[0], sum;
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_NEAR(Length(mesh.normals[i]), 1.0, 1e-5) << i;
    EXPECT_NEAR(Length(mesh.binormals[i]), 1.0, 1e-5) << i;
    EXPECT_TRUE(mesh.texCoords[i].u >= 0 && mesh.texCoords[i].u <= 1) << i;
    EXPECT_TRUE(mesh.texCoords[i].v >= 0 && mesh.texCoords[i].v <= 1) << i;
    const Vec3& p = mesh.coords[i];
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    sum += p;
  }
  EXPECT_NEAR(high.z - low.z, 1.8, 0.1);
  EXPECT_NEAR(sum.x / static_cast<float>(n), 0.0, 0.1);
  EXPECT_NEAR(sum.y / static_cast<float>(n), 0.0, 0.01);
  // The feet point forwards, towards +X.
  EXPECT_GT(high.x, -low.x);
}

TEST_F(SampleGenerator, TargetsAreInRangeAndReshapeVisibly) {
  LlmMesh mesh;
  mesh.Load(File(kSampleMeshFile));
  ASSERT_GE(mesh.morphTargets.size(), 8u);
  for (const MorphTarget& target : mesh.morphTargets) {
    const std::string name = target.DisplayName();
    EXPECT_NE(name.find('_'), std::string::npos) << name;
    ASSERT_GT(target.numVertices, 0) << name;
    double largest = 0.0;
    for (const MorphVertex& r : target.vertices) {
      ASSERT_TRUE(r.vertexIndex >= 0 && r.vertexIndex < mesh.numVertices) << name;
      largest = std::max(largest, Length(r.coordDelta));
    }
    EXPECT_GE(largest, 0.02) << name << " moves no vertex by 2 cm at weight 1";
  }
}

// The three parts share the whole body's vertices, triangles and target records out among them,
// each in the body's own coordinates.
TEST_F(SampleGenerator, PartsMakeUpTheWholeBody) {
  LlmMesh whole;
  whole.Load(File(kSampleMeshFile));
  std::size_t vertices = 0, faces = 0, records = 0, wholeRecords = 0;
  for (const char* name :
       {sample::kSampleHeadFile, sample::kSampleUpperFile, sample::kSampleLowerFile}) {
    LlmMesh part;
    part.Load(File(name));
    ASSERT_GT(part.numVertices, 0) << name;
    vertices += part.numVertices;
    faces += part.numFaces;
    for (const std::uint16_t index : part.faces) ASSERT_LT(index, part.numVertices) << name;
    for (const MorphTarget& target : part.morphTargets) {
      for (const MorphVertex& r : target.vertices) {
        ASSERT_TRUE(r.vertexIndex >= 0 && r.vertexIndex < part.numVertices) << name;
      }
      records += target.vertices.size();
    }
  }
  for (const MorphTarget& target : whole.morphTargets) wholeRecords += target.vertices.size();
  EXPECT_EQ(vertices, whole.numVertices);
  EXPECT_EQ(faces, whole.numFaces);
  EXPECT_EQ(records, wholeRecords);
}

TEST_F(SampleGenerator, TextureIsA256SquareRgbPng) {
  const std::string png = ReadFileText(File(kSampleTextureFile));
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  // Width and height, big-endian, then bit depth 8 and colour type 2 (RGB).
  EXPECT_EQ(png.substr(16, 10), std::string("\0\0\1\0\0\0\1\0\x08\x02", 10));
}

TEST_F(SampleGenerator, AppearanceFileSetsSomeTargetsByName) {
  LlmMesh mesh;
  mesh.Load(File(kSampleMeshFile));
  const std::string xml = ReadFileText(File(kSampleAppearanceFile));
  EXPECT_TRUE(std::regex_search(xml, std::regex("<linden_genepool version=\"[^\"]+\">")));
  EXPECT_TRUE(std::regex_search(xml, std::regex("<archetype name=\"[^\"]+\">")));

  const std::regex param("<param id=\"[0-9]+\" name=\"([^\"]+)\" value=\"(-?[0-9.]+)\"/>");
  int exact = 0, otherCase = 0, unknown = 0;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), param); it != std::sregex_iterator();
       ++it) {
    const std::string name = (*it)[1];
    bool same = false, folded = false;
    for (const MorphTarget& target : mesh.morphTargets) {
      same = same || target.DisplayName() == name;
      folded = folded || LowerAscii(target.DisplayName()) == LowerAscii(name);
    }
    exact += same ? 1 : 0;
    otherCase += (folded && !same) ? 1 : 0;
    unknown += folded ? 0 : 1;
  }
  EXPECT_GE(exact, 1);
  EXPECT_GE(otherCase, 1);
  EXPECT_GE(unknown, 1);
  EXPECT_NE(xml.find("<texture "), std::string::npos);
}

}  // namespace
}  // namespace tovmar::test
