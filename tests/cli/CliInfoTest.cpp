#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/FixtureMesh.h"
#include "tests/support/RunProcess.h"
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
      "], \"isMesh\": true, \"cut\": null, \"nonFiniteValues\": 0, \"skippedRecords\": 0}\n";
  EXPECT_EQ(r.out, expected);
}

// What a file lacks is said in a line of its own and in the JSON keys isMesh, cut,
// nonFiniteValues and skippedRecords, and the counts are the ones the programs use; info still
// succeeds.
TEST(CliInfo, SaysWhatAFileLacks) {
  const LlmMesh fixture = MakeFixtureMesh();
  const std::string whole = WriteLlm(fixture);
  // The fixture's skin joint count, at the end of its face list.
  const std::size_t jointCount = 65 + 4 * 48 + 2 + 2 * 6;
  std::string eye = whole;
  eye[jointCount] = '\x45';
  eye[jointCount + 1] = '\x79';  // 31045 joints
  const std::size_t eyeJoints = (eye.size() - jointCount - 2) / 64;
  LlmMesh longTarget = MakeFixtureMesh();
  longTarget.morphTargets.resize(1);
  longTarget.morphTargets[0].numVertices = 1000;
  const std::string longBytes = WriteLlm(longTarget);
  const std::string cutTarget = longBytes.substr(0, longBytes.size() - 990 * sizeof(MorphVertex));
  const std::string keptRecords =
      std::to_string((cutTarget.size() - (jointCount + 2 + 2 * 64 + 64 + 4)) / sizeof(MorphVertex));
  LlmMesh nan = MakeFixtureMesh();
  nan.coords[1].x = std::numeric_limits<float>::quiet_NaN();
  LlmMesh infDelta = MakeFixtureMesh();
  infDelta.morphTargets[2].vertices[0].normalDelta.y = std::numeric_limits<float>::infinity();

  struct Case {
    const char* what;
    std::string bytes;
    std::string textLine;
    std::string json;
  };
  const std::vector<Case> cases = {
      {"eye", eye,
       "Cut short:              the file ends inside the skin joint names: " +
           std::to_string(eyeJoints) + " of 31045\n",
       "\"joints\": " + std::to_string(eyeJoints) +
           ", \"remaps\": 0, \"morphs\": [], \"isMesh\": true, \"cut\": {\"section\": \"joints\", "
           "\"declared\": 31045, \"present\": " +
           std::to_string(eyeJoints)},
      {"records", cutTarget,
       "Cut short:              the file ends inside the records of morph target 'Arm_Up': " +
           keptRecords + " of 1000\n",
       "\"remaps\": 0, \"morphs\": [{\"name\": \"Arm_Up\", \"records\": " + keptRecords +
           "}], \"isMesh\": true, \"cut\": {\"section\": \"morphs\", \"target\": 0, \"declared\": "
           "1000, \"present\": " +
           keptRecords},
      {"header and a little", whole.substr(0, 100),
       "Not a mesh:             the file ends inside the vertex arrays: 35 of the 192 bytes of 4 "
       "vertices\n",
       "\"vertices\": 0, \"faces\": 0, \"joints\": 0, \"remaps\": 0, \"morphs\": [], \"isMesh\": "
       "false, \"cut\": {\"section\": \"vertices\", \"declared\": 4, \"present\": 0"},
      {"NaN", WriteLlm(nan),
       "Not a mesh:             values that are not finite numbers in the positions, normals or "
       "texture coordinates: 1\n",
       "\"isMesh\": false, \"cut\": null, \"nonFiniteValues\": 1, \"skippedRecords\": 0}"},
      {"infinite delta", WriteLlm(infDelta),
       "Skipped:                morph records with deltas that are not finite numbers: 1\n",
       "{\"name\": \"Other\", \"records\": 0}, {\"name\": \"Odd\\\"Name\\\\\\t\", \"records\": "
       "0}], "
       "\"isMesh\": true, \"cut\": null, \"nonFiniteValues\": 0, \"skippedRecords\": 1}"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = folder.File("mesh.llm");
    ASSERT_TRUE(WriteFileBytes(path, c.bytes));
    const ProcessResult text = RunProcess(kCliPath, {"info", path});
    EXPECT_EQ(text.exitStatus, 0);
    EXPECT_NE(text.out.find(c.textLine), std::string::npos) << text.out;
    const ProcessResult json = RunProcess(kCliPath, {"info", "--json", path});
    EXPECT_EQ(json.exitStatus, 0);
    EXPECT_NE(json.out.find(c.json), std::string::npos) << json.out;
  }
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
