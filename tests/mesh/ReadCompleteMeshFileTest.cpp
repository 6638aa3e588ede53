// Reading a mesh file for the mesh load command: a file whose header, vertex arrays and face list
// are whole is a mesh and replaces the loaded one, its joint names, morph targets and remaps read
// as far as the file holds them; anything else leaves the loaded mesh and its weights exactly as
// they were.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileBytes.h"
#include "mesh/LlmMesh.h"
#include "mesh/LlmReadReport.h"
#include "mesh/MeshLoad.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/mesh/PipeRead.h"
#include "tests/support/TempFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

class ReadCompleteMeshFile : public ::testing::Test {
 protected:
  // The sample mesh, read from its file, with a weight that a failed read must not lose.
  void SetUp() override {
    m_samplePath = m_folder.Write("sample.llm", WriteLlm(MakeSampleMesh()));
    ASSERT_TRUE(tovmar::ReadCompleteMeshFile(m_samplePath, m_mesh));
    m_mesh.morphTargets[1].weight = 0.75f;
  }

  // Expects `path` to be refused with the sample mesh and its weight untouched.
  void ExpectRefused(const std::string& path) {
    EXPECT_FALSE(tovmar::ReadCompleteMeshFile(path, m_mesh));
    EXPECT_EQ(m_mesh.path, m_samplePath);
    EXPECT_EQ(m_mesh.morphTargets[1].weight, 0.75f);
    m_mesh.morphTargets[1].weight = 0.0f;
    ExpectSameContents(m_mesh, MakeSampleMesh());
    m_mesh.morphTargets[1].weight = 0.75f;
  }

  TempFolder m_folder;
  std::string m_samplePath;
  LlmMesh m_mesh;
};

TEST_F(ReadCompleteMeshFile, AWholeFileReplacesTheMeshAndItsWeights) {
  LlmMesh other = MakeSampleMesh();
  other.morphTargets.pop_back();
  other.numRemaps = 0;
  other.remaps.clear();
  // Bytes after the remap table are not part of the mesh and do no harm.
  const std::string path = m_folder.Write("other.llm", WriteLlm(other) + "trailing");
  ASSERT_TRUE(tovmar::ReadCompleteMeshFile(path, m_mesh));
  EXPECT_EQ(m_mesh.path, path);
  ExpectSameContents(m_mesh, other);
  EXPECT_EQ(m_mesh.morphTargets[0].weight, 0.0f);

  // Negative counts stand for empty lists and leave nothing missing.
  LlmMesh negative = MakeSampleMesh();
  negative.morphTargets[0].numVertices = -1;
  negative.morphTargets[0].vertices.clear();
  negative.numRemaps = INT_MIN;
  negative.remaps.clear();
  EXPECT_TRUE(
      tovmar::ReadCompleteMeshFile(m_folder.Write("negative.llm", WriteLlm(negative)), m_mesh));
  EXPECT_EQ(m_mesh.morphTargets[0].numVertices, 0);
  EXPECT_EQ(m_mesh.numRemaps, 0);
}

// Where a file ends decides: inside the header, the vertex arrays or the face list it is no mesh;
// later, it is a mesh with the whole elements of the section it ends in and nothing after that.
TEST_F(ReadCompleteMeshFile, AFileCutShortIsAMeshExactlyWhenItsGeometryIsWhole) {
  const LlmMesh written = MakeSampleMesh();
  const std::string full = WriteLlm(written);
  const std::size_t faceCount = 65 + 4 * 56;
  const std::size_t jointCount = faceCount + 2 + 2 * 6;
  const std::size_t morphs = MorphSectionOffset(written);
  const std::size_t remapCount = full.size() - 4 - 2 * 8;
  ASSERT_EQ(jointCount + 2 + 2 * 64, morphs);

  struct Cut {
    const char* where;
    std::size_t length;
    LlmSection cutIn;
    bool countWhole;
    std::uint64_t declared, present;
    // What a mesh keeps: joints, targets, records of its last target, remaps.
    std::size_t joints = 0, targets = 0, lastRecords = 0, remaps = 0;
  };
  const Cut cuts[] = {
      {"empty", 0, LlmSection::kHeader, true, 65, 0},
      {"inside the header", 40, LlmSection::kHeader, true, 65, 40},
      {"inside the positions", 65 + 20, LlmSection::kVertices, true, 4, 0},
      {"inside the last vertex array", faceCount - 2, LlmSection::kVertices, true, 4, 3},
      {"before the face count", faceCount, LlmSection::kFaces, false, 0, 0},
      {"inside the faces", faceCount + 2 + 8, LlmSection::kFaces, true, 2, 1},
      {"before the joint count", jointCount, LlmSection::kJoints, false, 0, 0, 0, 0, 0, 0},
      {"inside the joint names", jointCount + 2 + 70, LlmSection::kJoints, true, 2, 1, 1, 0, 0, 0},
      {"inside a target's name", morphs + 30, LlmSection::kMorphs, false, 0, 0, 2, 0, 0, 0},
      {"inside a record count", MorphCountOffset(written, 0) + 3, LlmSection::kMorphs, false, 0, 0,
       2, 1, 0, 0},
      {"inside the records", MorphCountOffset(written, 0) + 4 + 48 + 20, LlmSection::kMorphs, true,
       2, 1, 2, 1, 1, 0},
      {"inside the end block", remapCount - 30, LlmSection::kMorphs, false, 0, 2, 2, 2, 1, 0},
      {"before the remap count", remapCount, LlmSection::kRemaps, false, 0, 0, 2, 2, 1, 0},
      {"inside the remaps", remapCount + 4 + 12, LlmSection::kRemaps, true, 2, 1, 2, 2, 1, 1},
      {"nowhere", full.size(), LlmSection::kNone, true, 0, 0, 2, 2, 1, 2},
  };
  for (const Cut& c : cuts) {
    SCOPED_TRACE(c.where);
    const std::string bytes = full.substr(0, c.length);
    LlmMesh parsed;
    const LlmReadReport report = parsed.LoadFromMemory(bytes);
    EXPECT_EQ(report.cutIn, c.cutIn);
    EXPECT_EQ(report.countWhole, c.countWhole);
    EXPECT_EQ(report.declared, c.declared);
    EXPECT_EQ(report.present, c.present);
    EXPECT_LE(report.bytesRead, c.length);
    const bool mesh = c.cutIn != LlmSection::kHeader && c.cutIn != LlmSection::kVertices &&
                      c.cutIn != LlmSection::kFaces;
    EXPECT_EQ(report.IsMesh(), mesh);

    const std::string path = m_folder.Write("cut.llm", bytes);
    if (!mesh) {
      ExpectRefused(path);
      continue;
    }
    ASSERT_TRUE(tovmar::ReadCompleteMeshFile(path, m_mesh));
    EXPECT_EQ(m_mesh.coords, written.coords);
    EXPECT_EQ(m_mesh.faces, written.faces);
    EXPECT_EQ(m_mesh.numSkinJoints, c.joints);
    EXPECT_EQ(m_mesh.skinJointNames.size(), c.joints);
    ASSERT_EQ(m_mesh.morphTargets.size(), c.targets);
    if (c.targets > 0) {
      const MorphTarget& last = m_mesh.morphTargets.back();
      EXPECT_EQ(last.DisplayName(), written.morphTargets[c.targets - 1].DisplayName());
      ASSERT_EQ(last.vertices.size(), c.lastRecords);
      for (std::size_t k = 0; k < c.lastRecords; ++k) {
        EXPECT_TRUE(SameRecord(last.vertices[k], written.morphTargets[c.targets - 1].vertices[k]));
      }
    }
    EXPECT_EQ(m_mesh.numRemaps, static_cast<std::int32_t>(c.remaps));
    EXPECT_EQ(m_mesh.remaps.size(), c.remaps);
    ASSERT_TRUE(tovmar::ReadCompleteMeshFile(m_samplePath, m_mesh));
    m_mesh.morphTargets[1].weight = 0.75f;
  }
}

// Counts past the end: the world's level-of-detail meshes hold a face list where their vertices
// should be, and its eye mesh declares 31045 skin joints.
TEST_F(ReadCompleteMeshFile, CountsPastTheEndRefuseOnlyInTheGeometry) {
  LlmMesh faceListOnly = MakeSampleMesh();
  faceListOnly.numVertices = 0;
  std::string levelOfDetail = WriteLlm(faceListOnly);
  PutU16(levelOfDetail, 63, 1132);
  LlmMesh parsed;
  LlmReadReport report = parsed.LoadFromMemory(levelOfDetail);
  EXPECT_EQ(report.cutIn, LlmSection::kVertices);
  EXPECT_EQ(report.declared, 1132u);
  EXPECT_EQ(report.bytesRead, 65u) << "refused before the vertex arrays are read";
  ExpectRefused(m_folder.Write("lod.llm", levelOfDetail));

  const LlmMesh written = MakeSampleMesh();
  std::string faces = WriteLlm(written);
  PutU16(faces, 65 + 4 * 56, 65535);
  EXPECT_FALSE(parsed.LoadFromMemory(faces).IsMesh());
  ExpectRefused(m_folder.Write("faces.llm", faces));

  std::string eye = WriteLlm(written);
  const std::size_t jointCount = MorphSectionOffset(written) - 2 - 2 * 64;
  PutU16(eye, jointCount, 31045);
  report = parsed.LoadFromMemory(eye);
  EXPECT_EQ(report.cutIn, LlmSection::kJoints);
  EXPECT_EQ(report.declared, 31045u);
  const std::size_t held = (eye.size() - jointCount - 2) / 64;
  EXPECT_EQ(report.present, held);
  ASSERT_TRUE(tovmar::ReadCompleteMeshFile(m_folder.Write("eye.llm", eye), m_mesh));
  EXPECT_EQ(m_mesh.numVertices, 4);
  EXPECT_EQ(m_mesh.numFaces, 2);
  EXPECT_EQ(m_mesh.numSkinJoints, held);
  EXPECT_EQ(SlotText(m_mesh.skinJointNames[1]), "mHipLeft");
  EXPECT_TRUE(m_mesh.morphTargets.empty());
  EXPECT_EQ(m_mesh.numRemaps, 0);
}

TEST_F(ReadCompleteMeshFile, MissingFilesFoldersPipesAndDevicesAreRefusedAtOnce) {
  const std::string gone = m_folder.Write("gone.llm", WriteLlm(MakeSampleMesh()));
  std::filesystem::remove(PathFromUtf8(gone));
  ExpectRefused(gone);
  ExpectRefused(PathToUtf8(m_folder.Path()));
#ifndef _WIN32
  ExpectRefused("/dev/null");
  ExpectRefused("/dev/zero");
  // A pipe without a writer: the read must neither wait for one nor take its emptiness for a file.
  const std::string pipePath = m_folder.File("pipe.llm");
  ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
  EXPECT_TRUE(FinishesWithoutAWriter(pipePath, [this, &pipePath] { ExpectRefused(pipePath); }));
#endif
}

TEST_F(ReadCompleteMeshFile, TheRealMeshesAreWhole) {
  const std::filesystem::path folder(TOVMAR_REALDATA_DIR);
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no real meshes in " << folder;
  for (const char* name : {"avatar_lower_body.llm", "avatar_eyelashes.llm"}) {
    SCOPED_TRACE(name);
    const std::string path = PathToUtf8(folder / name);
    LlmMesh mesh;
    ASSERT_TRUE(tovmar::ReadCompleteMeshFile(path, mesh));
    LlmMesh expected;
    expected.Load(path);
    ExpectSameContents(mesh, expected);
  }
}

}  // namespace
}  // namespace tovmar
