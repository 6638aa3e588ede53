// Damaged ".llm" files: counts that do not fit the file, files cut short, corrupted bytes and
// unreadable paths never make the reader read or write outside its arrays or keep a part of an
// element.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/FileBytes.h"
#include "mesh/FileByteReader.h"
#include "mesh/LlmFile.h"
#include "mesh/LlmMesh.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/mesh/PipeRead.h"
#include "tests/support/TempFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

// Every array is as long as its count says, optional arrays follow their flags and every name
// slot is terminated.
::testing::AssertionResult IsConsistent(const LlmMesh& m) {
  const std::size_t n = m.numVertices;
  if (m.coords.size() != n || m.normals.size() != n || m.binormals.size() != n ||
      m.texCoords.size() != n) {
    return ::testing::AssertionFailure() << "vertex arrays differ from numVertices " << n;
  }
  if (m.detailTexCoords.size() != (m.hasDetailTexCoords != 0 ? n : 0) ||
      m.weights.size() != (m.hasWeights != 0 ? n : 0)) {
    return ::testing::AssertionFailure() << "optional arrays differ from their flags";
  }
  if (m.faces.size() != 3 * std::size_t{m.numFaces}) {
    return ::testing::AssertionFailure() << "faces differ from numFaces";
  }
  if (m.skinJointNames.size() != m.numSkinJoints) {
    return ::testing::AssertionFailure() << "joint names differ from numSkinJoints";
  }
  for (const NameSlot& slot : m.skinJointNames) {
    if (slot[64] != '\0') return ::testing::AssertionFailure() << "joint name not terminated";
  }
  for (const MorphTarget& t : m.morphTargets) {
    if (t.numVertices < 0 || t.vertices.size() != static_cast<std::size_t>(t.numVertices)) {
      return ::testing::AssertionFailure() << "target records differ from numVertices";
    }
    if (t.name[64] != '\0') return ::testing::AssertionFailure() << "target name not terminated";
  }
  if (m.numRemaps < 0 || m.remaps.size() != static_cast<std::size_t>(m.numRemaps)) {
    return ::testing::AssertionFailure() << "remaps differ from numRemaps";
  }
  return ::testing::AssertionSuccess();
}

LlmMesh Parse(const std::string& bytes) {
  LlmMesh m;
  m.LoadFromMemory(bytes);
  return m;
}

TEST(LlmMeshHardening, NegativeMorphCountsMeanNoRecords) {
  for (const std::int32_t count : {-1, -5, INT_MIN}) {
    SCOPED_TRACE(count);
    LlmMesh written = MakeSampleMesh();
    written.morphTargets[0].numVertices = count;
    written.morphTargets[0].vertices.clear();
    const LlmMesh m = Parse(WriteLlm(written));

    ASSERT_EQ(m.morphTargets.size(), 2u);
    EXPECT_EQ(m.morphTargets[0].numVertices, 0);
    EXPECT_TRUE(m.morphTargets[0].vertices.empty());
    // The next block starts right after the count.
    EXPECT_EQ(m.morphTargets[1].DisplayName(), "Frown");
    EXPECT_TRUE(SameRecord(m.morphTargets[1].vertices[0], written.morphTargets[1].vertices[0]));
    EXPECT_EQ(m.numRemaps, 2);
    EXPECT_TRUE(IsConsistent(m));
  }
}

TEST(LlmMeshHardening, OversizedMorphCountsAreCutToTheRestOfTheFile) {
  const LlmMesh written = MakeSampleMesh();
  const std::string full = WriteLlm(written);
  const std::size_t countOffset = MorphCountOffset(written, 1);
  // Whatever follows the count is taken as records, as far as they are whole.
  const std::size_t reachable = (full.size() - countOffset - 4) / 48;

  // Includes counts whose byte size wraps around in 32 bits to 0 and to a small number.
  for (const std::int32_t count : {INT_MAX, 0x40000000, 0x05555556, 1000}) {
    SCOPED_TRACE(count);
    std::string bytes = full;
    PutI32(bytes, countOffset, count);
    const LlmMesh m = Parse(bytes);

    ASSERT_EQ(m.morphTargets.size(), 2u);
    EXPECT_EQ(m.morphTargets[1].numVertices, static_cast<std::int32_t>(reachable));
    ASSERT_EQ(m.morphTargets[1].vertices.size(), reachable);
    EXPECT_TRUE(SameRecord(m.morphTargets[1].vertices[0], written.morphTargets[1].vertices[0]));
    EXPECT_EQ(m.numRemaps, 0);
    EXPECT_TRUE(IsConsistent(m));
  }
}

TEST(LlmMeshHardening, RemapCountsAreClampedToTheFile) {
  LlmMesh written = MakeSampleMesh();
  written.numRemaps = -1;
  written.remaps.clear();
  LlmMesh m = Parse(WriteLlm(written));
  EXPECT_EQ(m.numRemaps, 0);
  EXPECT_TRUE(m.remaps.empty());

  written = MakeSampleMesh();
  std::string bytes = WriteLlm(written);
  const std::size_t countOffset = bytes.size() - 4 - 8 * 2;
  PutI32(bytes, countOffset, INT_MAX);
  m = Parse(bytes);
  ASSERT_EQ(m.numRemaps, 2);
  EXPECT_EQ(m.remaps[1].source, 5);
  EXPECT_EQ(m.remaps[1].destination, 1);

  // A third remap of which only the first integer is in the file is not kept.
  PutI32(bytes, countOffset, 3);
  bytes += std::string("\x07\x00\x00\x00", 4);
  m = Parse(bytes);
  EXPECT_EQ(m.numRemaps, 2);
  EXPECT_EQ(m.remaps.size(), 2u);
}

TEST(LlmMeshHardening, EveryTruncationAndCorruptedByteStaysConsistent) {
  const std::string full = WriteLlm(MakeSampleMesh());
  for (std::size_t length = 0; length <= full.size(); ++length) {
    EXPECT_TRUE(IsConsistent(Parse(full.substr(0, length)))) << "cut at " << length;
  }
  // 0xFF makes a count byte large or a count negative; 0x7F makes a high byte huge.
  for (const char value : {'\xFF', '\x7F'}) {
    for (std::size_t i = 0; i < full.size(); ++i) {
      std::string bytes = full;
      bytes[i] = value;
      EXPECT_TRUE(IsConsistent(Parse(bytes))) << "byte " << i << " = " << int{value};
    }
  }
}

TEST(LlmMeshHardening, ReadingAFileGivesWhatParsingItsBytesGives) {
  TempFolder folder;
  const LlmMesh written = MakeSampleMesh();
  const std::string full = WriteLlm(written);
  std::vector<std::string> damaged;
  for (std::size_t length = 0; length <= full.size(); ++length) {
    damaged.push_back(full.substr(0, length));
  }
  // Every count made as large as its field allows, and the signed ones negative.
  const std::size_t jointCount = MorphSectionOffset(written) - 2 - 64 * 2;
  for (const std::size_t offset : {std::size_t{63}, jointCount - 6 * 2 - 2, jointCount}) {
    damaged.push_back(full);
    PutU16(damaged.back(), offset, 65535);
  }
  const std::size_t remapCount = full.size() - 4 - 8 * 2;
  for (const std::size_t offset :
       {MorphCountOffset(written, 0), MorphCountOffset(written, 1), remapCount}) {
    for (const std::int32_t count : {INT_MAX, -1}) {
      damaged.push_back(full);
      PutI32(damaged.back(), offset, count);
    }
  }

  for (std::size_t i = 0; i < damaged.size() && !HasFailure(); ++i) {
    SCOPED_TRACE(i);
    // A new file each time: rewriting one file in place is slow on some file systems.
    const std::string path = folder.Write("damaged" + std::to_string(i) + ".llm", damaged[i]);
    LlmMesh fromFile;
    LlmReadReport fileReport;
    ASSERT_EQ(ReadLlmFile(path, fromFile, fileReport), LlmFileStatus::kRead);
    EXPECT_EQ(fromFile.path, path);
    LlmMesh fromMemory;
    const LlmReadReport memoryReport = fromMemory.LoadFromMemory(damaged[i]);
    ExpectSameContents(fromFile, fromMemory);
    EXPECT_EQ(fileReport.cutIn, memoryReport.cutIn);
    EXPECT_EQ(fileReport.present, memoryReport.present);
    EXPECT_EQ(fileReport.bytesRead, memoryReport.bytesRead);

    // Load takes exactly the meshes.
    LlmMesh loaded;
    const LlmMesh nothing;
    loaded.Load(path);
    ExpectSameContents(loaded, memoryReport.IsMesh() ? fromMemory : nothing);
  }
}

TEST(LlmMeshHardening, FileShorterThanAtOpenReadsAsZerosPastItsEnd) {
  TempFolder folder;
  const FilePtr file = OpenFileForReading(folder.Write("short.bin", "\x01\x02\x03"));
  ASSERT_TRUE(file);
  // As if the file had held 10 bytes when it was opened and had then been cut to 3.
  FileByteReader in(file.get(), 10);

  unsigned char bytes[6] = {9, 9, 9, 9, 9, 9};
  EXPECT_EQ(in.Read(bytes, 2), 2u);
  EXPECT_EQ(in.Read(bytes + 2, 4), 1u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[2], 3);
  for (int i = 3; i < 6; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(in.Remaining(), 4u);
  EXPECT_EQ(in.Read(bytes, 6), 0u);
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(LlmMeshHardening, ReadErrorLeavesTheRecordExactlyAsItWas) {
  TempFolder folder;
  const std::string meshPath = folder.Write("sample.llm", WriteLlm(MakeSampleMesh()));
  LlmMesh m;
  m.Load(meshPath);
  m.morphTargets[0].weight = 0.5f;

  // A folder opens for reading on this platform, but reading from it fails.
  const std::string folderPath = PathToUtf8(folder.Path());
  std::string ignored;
  ASSERT_EQ(ReadWholeFile(folderPath, ignored, 1 << 20), FileReadStatus::kReadError);

  EXPECT_TRUE(m.Load(folderPath));
  EXPECT_EQ(m.path, meshPath);
  EXPECT_EQ(m.morphTargets[0].weight, 0.5f);
  m.morphTargets[0].weight = 0.0f;
  ExpectSameContents(m, MakeSampleMesh());
}

#ifndef _WIN32
TEST(LlmMeshHardening, PipesAndDevicesAreUnreadableAndNeverWaitedFor) {
  TempFolder folder;
  const std::string meshPath = folder.Write("sample.llm", WriteLlm(MakeSampleMesh()));
  const std::string pipePath = folder.File("pipe.llm");
  ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
  LlmMesh m;
  m.Load(meshPath);

  // A pipe without a writer: opening it must not wait for one.
  EXPECT_TRUE(FinishesWithoutAWriter(pipePath, [&m, &pipePath] { m.Load(pipePath); }));
  EXPECT_EQ(m.path, meshPath);
  ExpectSameContents(m, MakeSampleMesh());

  // A device that reads as empty is not taken for an empty file.
  m.Load("/dev/null");
  EXPECT_EQ(m.path, meshPath);
  ExpectSameContents(m, MakeSampleMesh());
}
#endif

TEST(LlmMeshHardening, EmptyFileIsNoMeshAndLoadKeepsTheRecord) {
  TempFolder folder;
  const std::string samplePath = folder.Write("sample.llm", WriteLlm(MakeSampleMesh()));
  LlmMesh m;
  m.Load(samplePath);
  m.Load(folder.Write("empty.llm", ""));
  EXPECT_EQ(m.path, samplePath);
  ExpectSameContents(m, MakeSampleMesh());
}

}  // namespace
}  // namespace tovmar
