// Reading a mesh file only as far as drawing it needs: the same vertex arrays, faces and joint
// names as the whole read, whatever follows them, and none of the morph section read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mesh/LlmFile.h"
#include "mesh/LlmMesh.h"
#include "mesh/LlmReadReport.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/support/TempFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

struct TailCase {
  const char* name;
  // Bytes kept of the sample file's morph section and remaps; -1 keeps all of them.
  long keep;
  // Appended after what is kept.
  std::string extra;
};

TEST(ReadDrawingSectionsTest, GivesTheDrawingOfTheWholeReadAndLeavesTheMorphSectionUnread) {
  const LlmMesh sample = MakeSampleMesh();
  const std::string whole = WriteLlm(sample);
  const std::size_t morphs = MorphSectionOffset(sample);
  const std::vector<TailCase> cases = {
      {"whole", -1, ""},
      {"cut in a morph name", 10, ""},
      {"cut in a record", 64 + 4 + 20, ""},
      {"no morph section", 0, ""},
      {"garbage record count", 64, std::string(4, '\xff') + std::string(100, '\x7f')},
  };
  TempFolder folder;
  for (const TailCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes =
        (c.keep < 0 ? whole : whole.substr(0, morphs + static_cast<std::size_t>(c.keep))) + c.extra;
    const std::string path = folder.Write("m.llm", bytes);
    LlmMesh all;
    LlmMesh drawing;
    LlmReadReport allReport;
    LlmReadReport drawingReport;
    ASSERT_EQ(ReadLlmFile(path, all, allReport), LlmFileStatus::kRead);
    ASSERT_EQ(ReadLlmFile(path, drawing, drawingReport, LlmSections::kDrawing),
              LlmFileStatus::kRead);
    EXPECT_TRUE(drawingReport.IsMesh());
    EXPECT_FALSE(drawingReport.TailCut());
    EXPECT_EQ(drawingReport.bytesRead, morphs);
    EXPECT_TRUE(drawing.morphTargets.empty());
    EXPECT_TRUE(drawing.remaps.empty());
    // With the parts it leaves out taken away, the whole read is the same record.
    all.morphTargets.clear();
    all.remaps.clear();
    all.numRemaps = 0;
    ExpectSameContents(drawing, all);
  }
}

}  // namespace
}  // namespace tovmar
