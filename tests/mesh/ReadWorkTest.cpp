// The work a mesh file costs is bounded by what its sections can use, not by its size: a large
// sparse file is not read to its end, and what cannot be a mesh is refused before its arrays are
// read. Measured in bytes read and held, not in time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/FileBytes.h"
#include "mesh/LlmFile.h"
#include "mesh/LlmMesh.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/support/TempFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

// `bytes` followed by a hole up to `size` bytes: the file system stores only `bytes`.
std::string WriteSparse(const TempFolder& folder, const std::string& name, const std::string& bytes,
                        std::uintmax_t size) {
  const std::string path = folder.Write(name, bytes);
  std::filesystem::resize_file(PathFromUtf8(path), size);
  return path;
}

TEST(ReadWork, ASparseGigabyteIsReadOnlyAsFarAsItsSectionsReach) {
  TempFolder folder;
  const std::string mesh = WriteLlm(MakeSampleMesh());
  LlmMesh m;
  LlmReadReport report;

  // A whole mesh, then a hole: nothing past the remaps is read.
  ASSERT_EQ(ReadLlmFile(WriteSparse(folder, "padded.llm", mesh, kMaxMeshFileBytes), m, report),
            LlmFileStatus::kRead);
  EXPECT_TRUE(report.IsMesh());
  EXPECT_EQ(report.bytesRead, mesh.size());
  ExpectSameContents(m, MakeSampleMesh());

  // Nothing but zeros: an empty mesh whose morph section is a run of nameless targets, read up to
  // the most targets a file may hold.
  ASSERT_EQ(ReadLlmFile(WriteSparse(folder, "zeros.llm", "", kMaxMeshFileBytes), m, report),
            LlmFileStatus::kRead);
  EXPECT_TRUE(report.IsMesh());
  EXPECT_TRUE(report.tooManyTargets);
  EXPECT_EQ(m.morphTargets.size(), LlmReadReport::kMaxMorphTargets);
  EXPECT_EQ(report.bytesRead, 65 + 2 + 2 + (64 + 4) * LlmReadReport::kMaxMorphTargets + 64);
  EXPECT_LE(m.morphTargets.capacity() * sizeof(MorphTarget), 16u << 20);

  // One byte more than a mesh file may have is not read at all.
  const LlmReadReport before = report;
  EXPECT_EQ(ReadLlmFile(WriteSparse(folder, "large.llm", mesh, kMaxMeshFileBytes + 1), m, report),
            LlmFileStatus::kTooLarge);
  EXPECT_EQ(report.bytesRead, before.bytesRead);
}

TEST(ReadWork, GeometryPastTheEndIsRefusedBeforeItsArraysAreRead) {
  TempFolder folder;
  const LlmMesh written = MakeSampleMesh();
  std::string vertices = WriteLlm(written);
  PutU16(vertices, 63, 65535);
  std::string faces = WriteLlm(written);
  PutU16(faces, 65 + 4 * 56, 65535);

  LlmMesh m;
  LlmReadReport report;
  ASSERT_EQ(ReadLlmFile(folder.Write("vertices.llm", vertices), m, report), LlmFileStatus::kRead);
  EXPECT_FALSE(report.IsMesh());
  EXPECT_EQ(report.bytesRead, 65u);
  EXPECT_EQ(m.coords.capacity(), 0u);

  ASSERT_EQ(ReadLlmFile(folder.Write("faces.llm", faces), m, report), LlmFileStatus::kRead);
  EXPECT_FALSE(report.IsMesh());
  EXPECT_EQ(report.bytesRead, 65u + 4 * 56 + 2);
  EXPECT_EQ(m.faces.capacity(), 0u);
}

}  // namespace
}  // namespace tovmar
