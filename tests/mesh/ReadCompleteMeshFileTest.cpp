// Reading a mesh file for the mesh load command: only a file that can be read whole and holds
// everything its counts declare replaces the mesh; anything else leaves the loaded mesh and its
// weights exactly as they were.
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
#include "mesh/MeshLoad.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/mesh/PipeRead.h"
#include "tests/mesh/TempFolder.h"
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

TEST_F(ReadCompleteMeshFile, FilesCutShortOrWithCountsPastTheirEndAreRefused) {
  const LlmMesh written = MakeSampleMesh();
  const std::string full = WriteLlm(written);
  std::vector<std::string> damaged;
  // Every length short of the whole file, the empty file included.
  for (std::size_t length = 0; length < full.size(); ++length) {
    damaged.push_back(full.substr(0, length));
  }
  // Counts that promise more than the file holds: vertices, faces, joints, morph records, remaps.
  const std::size_t jointCount = MorphSectionOffset(written) - 2 - 64 * 2;
  for (const std::size_t offset : {std::size_t{63}, jointCount - 6 * 2 - 2, jointCount}) {
    damaged.push_back(full);
    PutU16(damaged.back(), offset, 65535);
  }
  for (const std::size_t offset :
       {MorphCountOffset(written, 0), MorphCountOffset(written, 1), full.size() - 4 - 8 * 2}) {
    damaged.push_back(full);
    PutI32(damaged.back(), offset, INT_MAX);
  }
  // Text in place of a mesh.
  damaged.push_back("This is not a mesh file, only a note that took its name.\n");

  for (std::size_t i = 0; i < damaged.size() && !HasFailure(); ++i) {
    SCOPED_TRACE(i);
    ExpectRefused(m_folder.Write("damaged" + std::to_string(i) + ".llm", damaged[i]));
  }
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
  const std::string pipePath = m_folder.PathOf("pipe.llm");
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
