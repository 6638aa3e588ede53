#include <gtest/gtest.h>

#include "tests/cli/CliFixtures.h"
#include "tests/cli/CliTestPaths.h"
#include "tests/cli/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

TEST(CliInfo, TextListsHeaderFlagsCountsAndEveryTarget) {
  TempFolder folder;
  const std::string path = folder.File("mesh.llm");
  ASSERT_TRUE(WriteFileBytes(path, WriteLlm(MakeFixtureMesh())));

  const ProcessResult r = RunProcess(kCliPath, {"info", path});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.err, "");
  const std::string expected = "File:                   " + path +
                               "\n"
                               "Header:                 Fixture Mesh\n"
                               "Weights:                yes\n"
                               "Detail texture coords:  no\n"
                               "Vertices:               4\n"
                               "Faces:                  2\n"
                               "Skin joints:            2\n"
                               "Morph targets:          4\n"
                               "Remaps:                 1\n"
                               "\n"
                               " Records  Morph target\n"
                               "       2  Arm_Up\n"
                               "       1  arm_UP\n"
                               "       1  Other\n"
                               "       0  Odd\"Name\\?\n";
  EXPECT_EQ(r.out, expected);
}

TEST(CliInfo, JsonIsOneObjectWithEscapedTexts) {
  TempFolder folder;
  const std::string path = folder.File("a \"quoted\" mesh.llm");
  ASSERT_TRUE(WriteFileBytes(path, WriteLlm(MakeFixtureMesh())));

  const ProcessResult r = RunProcess(kCliPath, {"info", "--json", path});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.err, "");
  std::string escapedPath = path;
  escapedPath.replace(escapedPath.find('"'), 1, "\\\"");
  escapedPath.replace(escapedPath.rfind('"'), 1, "\\\"");
  const std::string expected =
      "{\"path\": \"" + escapedPath +
      "\", \"header\": \"Fixture Mesh\", \"hasWeights\": true, \"hasDetailTexCoords\": false, "
      "\"vertices\": 4, \"faces\": 2, \"joints\": 2, \"remaps\": 1, \"morphs\": ["
      "{\"name\": \"Arm_Up\", \"records\": 2}, {\"name\": \"arm_UP\", \"records\": 1}, "
      "{\"name\": \"Other\", \"records\": 1}, {\"name\": \"Odd\\\"Name\\\\\\t\", \"records\": 0}"
      "]}\n";
  EXPECT_EQ(r.out, expected);
}

// A file cut short inside a target's records shows the counts the reader kept, not the ones
// the file declared.
TEST(CliInfo, TruncatedFileShowsTheCountsAsRead) {
  TempFolder folder;
  const std::string path = folder.File("cut.llm");
  LlmMesh source = MakeFixtureMesh();
  source.morphTargets.resize(1);
  source.morphTargets[0].numVertices = 1000;
  const std::string whole = WriteLlm(source);
  const std::string cut = whole.substr(0, whole.size() - 990 * sizeof(MorphVertex));
  ASSERT_TRUE(WriteFileBytes(path, cut));
  LlmMesh expected;
  expected.LoadFromMemory(cut);
  ASSERT_EQ(expected.morphTargets.size(), 1u);
  ASSERT_LT(expected.morphTargets[0].numVertices, 1000);

  const ProcessResult r = RunProcess(kCliPath, {"info", "--json", path});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_NE(r.out.find("\"remaps\": 0, \"morphs\": [{\"name\": \"Arm_Up\", \"records\": " +
                       std::to_string(expected.morphTargets[0].numVertices) + "}]}"),
            std::string::npos)
      << r.out;
}

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(CliInfo, RealMeshesShowTheirKnownCounts) {
  struct Known {
    const char* file;
    const char* counts;
    std::size_t morphs;
  };
  const Known known[] = {
      {"avatar_lower_body.llm",
       "\"vertices\": 977, \"faces\": 1654, \"joints\": 7, \"remaps\": 135", 24},
      {"avatar_eyelashes.llm", "\"vertices\": 48, \"faces\": 46, \"joints\": 1, \"remaps\": 2", 34},
  };
  for (const Known& k : known) {
    const std::string path = RealMeshPath(k.file);
    if (path.empty()) GTEST_SKIP() << "the real meshes are not here";
    const ProcessResult r = RunProcess(kCliPath, {"info", "--json", path});
    EXPECT_EQ(r.exitStatus, 0) << k.file;
    EXPECT_EQ(SplitLines(r.out).size(), 1u) << k.file;
    EXPECT_NE(r.out.find("\"hasWeights\": true, \"hasDetailTexCoords\": false"), std::string::npos)
        << k.file;
    EXPECT_NE(r.out.find(k.counts), std::string::npos) << r.out;
    EXPECT_EQ(CountOf(r.out, "{\"name\": "), k.morphs) << k.file;
    EXPECT_EQ(CountOf(r.out, ", \"records\": "), k.morphs) << k.file;
  }
}

}  // namespace
}  // namespace tovmar::test
