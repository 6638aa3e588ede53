// Loading avatar settings: an appearance file reshapes the visible mesh.
#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "mesh/SceneStore.h"
#include "panel/ControlIds.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedViewPrompts.h"

namespace tovmar {
namespace {

class AppearanceCommandTest : public testing::Test {
 protected:
  TestFolder m_folder{"tovmar-appearance-command"};
  ScriptedFileDialogs m_dialogs;
  RecordingMessageSink m_messages;
  ScriptedViewPrompts m_prompts;
};

TEST_F(AppearanceCommandTest, WithoutAMeshOnlyTheMessageShows) {
  RemoveAllMeshes();
  Press(IDC_LOAD_AVATAR);
  EXPECT_TRUE(m_dialogs.requests.empty());
  ASSERT_EQ(m_messages.messages.size(), 1u);
  EXPECT_EQ(m_messages.messages[0], "先にLLMメッシュを読み込んで下さい。");
}

TEST_F(AppearanceCommandTest, NamedTargetReshapesTheMeshOnScreen) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  const wxImage before = ShownScene();

  const wxString xml = m_folder.File("shape.xml");
  std::ofstream(xml.utf8_string()) << "<linden_genepool version=\"1.0\"><archetype name=\"x\">"
                                      "<param id=\"1\" name=\"big_belly\" value=\"2\"/>"
                                      "<param id=\"2\" name=\"nothing_here\" value=\"1\"/>"
                                      "</archetype></linden_genepool>";
  m_dialogs.Choose(xml);
  Press(IDC_LOAD_AVATAR);

  ASSERT_EQ(m_dialogs.requests.size(), 2u);
  EXPECT_EQ(m_dialogs.requests[1].filter,
            wxString::FromUTF8("Appearance XML(*.xml)|*.xml|全て(*.*)|*.*||"));
  EXPECT_EQ(m_dialogs.requests[1].initialFolder, Doc().GetMeshFolder());
  ASSERT_EQ(Doc().m_mesh.morphTargets.size(), 1u);
  EXPECT_FLOAT_EQ(Doc().m_mesh.morphTargets[0].weight, 2.0f);
  EXPECT_TRUE(m_messages.messages.empty());

  // The ball bulges towards the camera: its silhouette and shading change.
  const wxImage after = ShownScene();
  ASSERT_EQ(before.GetSize(), after.GetSize());
  int changed = 0;
  for (int y = 0; y < after.GetHeight(); y += 2) {
    for (int x = 0; x < after.GetWidth(); x += 2) {
      if (before.GetRed(x, y) != after.GetRed(x, y)) ++changed;
    }
  }
  EXPECT_GT(changed, 100);

  // A file without records changes nothing, but its folder is remembered.
  const wxString empty = m_folder.File("empty.xml");
  std::ofstream(empty.utf8_string()) << "<linden_genepool/>";
  m_dialogs.Choose(empty);
  Press(IDC_LOAD_AVATAR);
  EXPECT_FLOAT_EQ(Doc().m_mesh.morphTargets[0].weight, 2.0f);
  EXPECT_TRUE(m_messages.messages.empty());
}

// A file of several archetypes asks which one to apply, by their names in file order; the one
// chosen shapes the mesh on screen, and none chosen changes nothing.
TEST_F(AppearanceCommandTest, AFileOfSeveralArchetypesAppliesTheOneChosen) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  const wxString xml = m_folder.File("archetypes.xml");
  std::ofstream(xml.utf8_string()) << "<linden_genepool version=\"1.0\">"
                                      "<archetype name=\"F A Slim\"><param id=\"1\" "
                                      "name=\"big_belly\" value=\"-1\"/></archetype>"
                                      "<archetype name=\"F A Chubby\"><param id=\"1\" "
                                      "name=\"big_belly\" value=\"2\"/></archetype>"
                                      "</linden_genepool>";
  const struct {
    std::optional<std::size_t> answer;  // nothing: the dialog cancelled
    float weight;
  } cases[] = {{1, 2.0f}, {std::nullopt, 2.0f}, {0, -1.0f}};
  std::vector<wxImage> pictures;
  for (const auto& c : cases) {
    m_prompts.archetypeAnswers.push_back(c.answer);
    m_dialogs.Choose(xml);
    Press(IDC_LOAD_AVATAR);
    EXPECT_FLOAT_EQ(Doc().m_mesh.morphTargets[0].weight, c.weight);
    pictures.push_back(ShownScene());
  }
  ASSERT_EQ(m_prompts.offeredArchetypes.size(), 3u);
  EXPECT_EQ(m_prompts.offeredArchetypes[0], (std::vector<wxString>{"F A Slim", "F A Chubby"}));
  EXPECT_TRUE(m_messages.messages.empty());
  // What the view shows: unchanged by the cancelled choice, changed by the other archetype.
  const auto same = [](const wxImage& a, const wxImage& b) {
    return a.GetSize() == b.GetSize() &&
           std::equal(a.GetData(), a.GetData() + 3 * a.GetWidth() * a.GetHeight(), b.GetData());
  };
  EXPECT_TRUE(same(pictures[0], pictures[1]));
  EXPECT_FALSE(same(pictures[1], pictures[2]));
}

}  // namespace
}  // namespace tovmar
