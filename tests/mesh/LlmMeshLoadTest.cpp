// Reading well-formed ".llm" files: field order, optional arrays, the morph section and what a
// second load or an unopenable path does to the record.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "mesh/LlmMesh.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/support/TempFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

// Little-endian bytes put together by hand, independently of the fixture writer.
class HandBytes {
 public:
  void Raw(const std::string& text, std::size_t size) {
    std::string block = text;
    block.resize(size, '\0');
    m_bytes += block;
  }
  void U8(std::uint8_t v) { m_bytes += static_cast<char>(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v & 0xFF));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void I32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) U8(static_cast<std::uint8_t>(u >> shift));
  }
  void F32(float f) {
    std::uint32_t u = 0;
    std::memcpy(&u, &f, sizeof u);
    I32(static_cast<std::int32_t>(u));
  }
  void Floats(std::initializer_list<float> fs) {
    for (const float f : fs) F32(f);
  }
  std::size_t Size() const { return m_bytes.size(); }
  const std::string& Bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
};

// A one-vertex, one-triangle file whose every value differs, with the given flag bytes.
std::string HandBuiltFile(std::uint8_t hasWeights, std::uint8_t hasDetailTexCoords) {
  HandBytes b;
  b.Raw("ABCDEFGHIJKLMNOPQRSTUVWX", 24);
  b.U8(hasWeights);
  b.U8(hasDetailTexCoords);
  b.Floats({1, 2, 3, 4, 5, 6});
  b.U8(7);
  b.Floats({8, 9, 10});
  EXPECT_EQ(b.Size(), 63u);
  b.U16(1);
  b.Floats({11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21});
  if (hasDetailTexCoords != 0) b.Floats({22, 23});
  if (hasWeights != 0) b.Raw("\x01\x02\x03\x04", 4);
  b.U16(1);
  b.U16(0);
  b.U16(0);
  b.U16(0);
  b.U16(0);
  b.Raw("End Morphs", 64);
  b.I32(1);
  b.I32(24);
  b.I32(25);
  return b.Bytes();
}

LlmMesh LoadBytes(const TempFolder& folder, const std::string& bytes) {
  LlmMesh m;
  EXPECT_TRUE(m.Load(folder.Write("mesh.llm", bytes)));
  return m;
}

TEST(LlmMeshLoad, ReadsThePackedPrefixAndBodyInFileOrder) {
  TempFolder folder;
  for (const std::uint8_t hasWeights : std::initializer_list<std::uint8_t>{0, 1}) {
    SCOPED_TRACE(static_cast<int>(hasWeights));
    const LlmMesh m = LoadBytes(folder, HandBuiltFile(hasWeights, 1));
    EXPECT_EQ(std::string(m.header.data(), 24), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(m.hasWeights, hasWeights);
    EXPECT_EQ(m.hasDetailTexCoords, 1);
    EXPECT_EQ(m.position, (Vec3{1, 2, 3}));
    EXPECT_EQ(m.rotation, (Vec3{4, 5, 6}));
    EXPECT_EQ(m.rotationOrder, 7);
    EXPECT_EQ(m.scale, (Vec3{8, 9, 10}));
    ASSERT_EQ(m.numVertices, 1);
    EXPECT_EQ(m.coords, (FillByReadVector<Vec3>{{11, 12, 13}}));
    EXPECT_EQ(m.normals, (FillByReadVector<Vec3>{{14, 15, 16}}));
    EXPECT_EQ(m.binormals, (FillByReadVector<Vec3>{{17, 18, 19}}));
    EXPECT_EQ(m.texCoords, (FillByReadVector<Vec2>{{20, 21}}));
    // The detail texture coordinates come right after the texture coordinates, before weights.
    EXPECT_EQ(m.detailTexCoords, (FillByReadVector<Vec2>{{22, 23}}));
    if (hasWeights != 0) {
      EXPECT_EQ(m.weights, (FillByReadVector<VertexWeight>{{1, 2, 3, 4}}));
    } else {
      EXPECT_TRUE(m.weights.empty());
    }
    EXPECT_EQ(m.numFaces, 1);
    EXPECT_EQ(m.faces, (std::vector<std::uint16_t>{0, 0, 0}));
    EXPECT_EQ(m.numSkinJoints, 0);
    EXPECT_TRUE(m.morphTargets.empty());
    ASSERT_EQ(m.numRemaps, 1);
    EXPECT_EQ(m.remaps[0].source, 24);
    EXPECT_EQ(m.remaps[0].destination, 25);
  }
}

TEST(LlmMeshLoad, WrittenRecordReadsBackWithFreshWeights) {
  TempFolder folder;
  LlmMesh written = MakeSampleMesh();
  written.morphTargets[0].weight = 1.5f;
  const std::string path = folder.Write("sample.llm", WriteLlm(written));

  LlmMesh m;
  EXPECT_TRUE(m.Load(path));
  EXPECT_EQ(m.path, path);
  written.morphTargets[0].weight = 0.0f;
  ExpectSameContents(m, written);
  for (const MorphTarget& t : m.morphTargets) {
    EXPECT_EQ(t.weight, 0.0f);
    EXPECT_EQ(t.maxWeight, 2.0f);
    EXPECT_EQ(t.minWeight, -2.0f);
  }
  EXPECT_EQ(m.morphTargets[0].DisplayName(), "Smile");
  EXPECT_EQ(m.morphTargets[1].DisplayName(), "Frown");
  EXPECT_EQ(SlotText(m.skinJointNames[1]), "mHipLeft");
}

TEST(LlmMeshLoad, AnyNonZeroFlagByteCountsAsSet) {
  TempFolder folder;
  for (const std::uint8_t flag : std::initializer_list<std::uint8_t>{2, 255}) {
    SCOPED_TRACE(static_cast<int>(flag));
    LlmMesh written = MakeSampleMesh();
    written.hasWeights = flag;
    written.hasDetailTexCoords = flag;
    const LlmMesh m = LoadBytes(folder, WriteLlm(written));
    EXPECT_EQ(m.hasWeights, flag);
    EXPECT_EQ(m.hasDetailTexCoords, flag);
    ExpectSameContents(m, written);
  }
}

TEST(LlmMeshLoad, ZeroVerticesStillReadsFacesJointsMorphsAndRemaps) {
  TempFolder folder;
  LlmMesh written = MakeSampleMesh();
  written.numVertices = 0;
  written.coords.clear();
  written.normals.clear();
  written.binormals.clear();
  written.texCoords.clear();
  written.detailTexCoords.clear();
  written.weights.clear();
  const LlmMesh m = LoadBytes(folder, WriteLlm(written));
  EXPECT_EQ(m.numVertices, 0);
  EXPECT_TRUE(m.coords.empty());
  EXPECT_TRUE(m.texCoords.empty());
  ExpectSameContents(m, written);
}

TEST(LlmMeshLoad, OnlyEndMorphsWithAZeroByteEndsTheMorphSection) {
  TempFolder folder;
  LlmMesh written = MakeSampleMesh();
  // "End Morphs" followed by a non-zero byte names an ordinary target.
  written.morphTargets.push_back(MakeMorphTarget("End Morphs!", {Record(1, {0, 1, 0})}));
  written.morphTargets.push_back(MakeMorphTarget("End MorphsEnd Morphs", {}));
  std::string bytes = WriteLlm(written);

  // The end block's last 53 bytes may hold anything.
  const std::size_t endBlock = bytes.size() - 4 - 8 * 2 - 64;
  ASSERT_EQ(bytes.compare(endBlock, 11, std::string("End Morphs\0", 11)), 0);
  for (std::size_t i = 11; i < 64; ++i) bytes[endBlock + i] = static_cast<char>(0xA5);

  const LlmMesh m = LoadBytes(folder, bytes);
  ASSERT_EQ(m.morphTargets.size(), 4u);
  EXPECT_EQ(m.morphTargets[2].DisplayName(), "End Morphs!");
  EXPECT_EQ(m.morphTargets[2].numVertices, 1);
  EXPECT_EQ(m.morphTargets[3].DisplayName(), "End MorphsEnd Morphs");
  ExpectSameContents(m, written);
}

TEST(LlmMeshLoad, FileEndingInsideTheMorphSectionKeepsTheCompleteBlocks) {
  TempFolder folder;
  const LlmMesh written = MakeSampleMesh();
  const std::string full = WriteLlm(written);
  const std::size_t secondCount = MorphCountOffset(written, 1);

  // Cut 30 bytes into the end block: both targets complete, the partial block dropped.
  LlmMesh m = LoadBytes(folder, full.substr(0, secondCount + 4 + 48 + 30));
  ASSERT_EQ(m.morphTargets.size(), 2u);
  EXPECT_EQ(m.morphTargets[1].DisplayName(), "Frown");
  EXPECT_EQ(m.morphTargets[1].numVertices, 1);
  EXPECT_TRUE(SameRecord(m.morphTargets[1].vertices[0], written.morphTargets[1].vertices[0]));
  EXPECT_EQ(m.numRemaps, 0);
  EXPECT_TRUE(m.remaps.empty());
  EXPECT_EQ(m.faces, written.faces);

  // Cut right after the second name block: that target is kept, with no count and no records.
  m = LoadBytes(folder, full.substr(0, secondCount));
  ASSERT_EQ(m.morphTargets.size(), 2u);
  EXPECT_EQ(m.morphTargets[1].DisplayName(), "Frown");
  EXPECT_EQ(m.morphTargets[1].numVertices, 0);
  EXPECT_TRUE(m.morphTargets[1].vertices.empty());
  EXPECT_EQ(m.numRemaps, 0);
}

TEST(LlmMeshLoad, EmptyAndDuplicateTargetsAreKeptInFileOrder) {
  TempFolder folder;
  LlmMesh written = MakeSampleMesh();
  written.morphTargets.clear();
  written.morphTargets.push_back(MakeMorphTarget("Twin", {Record(0, {1, 0, 0})}));
  written.morphTargets.push_back(MakeMorphTarget("Nothing", {}));
  written.morphTargets.push_back(MakeMorphTarget("Twin", {Record(1, {0, 2, 0}), Record(2, {})}));
  LlmMesh m = LoadBytes(folder, WriteLlm(written));

  ASSERT_EQ(m.morphTargets.size(), 3u);
  EXPECT_EQ(m.morphTargets[1].DisplayName(), "Nothing");
  EXPECT_EQ(m.morphTargets[1].numVertices, 0);
  EXPECT_TRUE(m.morphTargets[1].vertices.empty());
  EXPECT_EQ(m.morphTargets[0].numVertices, 1);
  EXPECT_EQ(m.morphTargets[2].numVertices, 2);
  EXPECT_EQ(m.FindMorphTarget("Twin"), &m.morphTargets[0]);
  ExpectSameContents(m, written);
}

TEST(LlmMeshLoad, SecondLoadReplacesEverythingAndUnopenablePathKeepsIt) {
  TempFolder folder;
  const LlmMesh first = MakeSampleMesh();
  LlmMesh second;
  second.numVertices = 1;
  second.coords = {{9, 9, 9}};
  second.normals = {{0, 0, 1}};
  second.binormals = {{1, 0, 0}};
  second.texCoords = {{0.5f, 0.5f}};
  second.morphTargets.push_back(MakeMorphTarget("Other", {Record(0, {0, 0, 1})}));
  const std::string firstPath = folder.Write("first.llm", WriteLlm(first));
  const std::string secondPath = folder.Write("second.llm", WriteLlm(second));

  LlmMesh m;
  m.Load(firstPath);
  m.morphTargets[0].weight = 1.25f;
  m.Load(secondPath);
  EXPECT_EQ(m.path, secondPath);
  ExpectSameContents(m, second);
  EXPECT_EQ(m.morphTargets[0].weight, 0.0f);

  m.Load(firstPath);
  m.morphTargets[1].weight = -0.75f;
  const std::string missing = folder.File("missing.llm");
  EXPECT_TRUE(m.Load(missing));
  EXPECT_EQ(m.path, missing);
  EXPECT_EQ(m.morphTargets[1].weight, -0.75f);
  m.morphTargets[1].weight = 0.0f;
  ExpectSameContents(m, first);
}

TEST(LlmMeshLoad, NameSlotsAreAlwaysTerminated) {
  TempFolder folder;
  LlmMesh written = MakeSampleMesh();
  written.skinJointNames[0].fill('j');
  written.morphTargets[0].name.fill('n');
  std::string bytes = WriteLlm(written);
  const LlmMesh m = LoadBytes(folder, bytes);

  EXPECT_EQ(m.skinJointNames[0][64], '\0');
  EXPECT_EQ(SlotText(m.skinJointNames[0]), std::string(64, 'j'));
  EXPECT_EQ(m.morphTargets[0].name[64], '\0');
  EXPECT_EQ(m.morphTargets[0].DisplayName(), std::string(64, 'n'));
  EXPECT_EQ(SlotText(m.skinJointNames[1]), "mHipLeft");
}

TEST(LlmMeshLoad, ReadsFromAFolderWithAJapaneseName) {
  TempFolder folder;
  std::filesystem::create_directory(folder.Path() / PathFromUtf8("アバター素材"));
  const std::string path = folder.Write("アバター素材/下半身.llm", WriteLlm(MakeSampleMesh()));

  LlmMesh m;
  m.Load(path);
  EXPECT_EQ(m.path, path);
  ExpectSameContents(m, MakeSampleMesh());
}

TEST(LlmMeshLoad, ReleaseEmptiesTheRecordButKeepsThePath) {
  TempFolder folder;
  const std::string path = folder.Write("sample.llm", WriteLlm(MakeSampleMesh()));
  LlmMesh m;
  m.Load(path);
  m.Release();
  EXPECT_EQ(m.path, path);
  ExpectSameContents(m, LlmMesh());
}

}  // namespace
}  // namespace tovmar
