// Loading avatar settings: an appearance file reshapes the visible mesh.
#include <fstream>

#include <gtest/gtest.h>

#include "mesh/SceneStore.h"
#include "panel/ControlIds.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScriptedFileDialogs.h"

namespace tovmar {
namespace {

class AppearanceCommandTest : public testing::Test {
 protected:
  TestFolder m_folder{"tovmar-appearance-command"};
  ScriptedFileDialogs m_dialogs;
  RecordingMessageSink m_messages;
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

}  // namespace
}  // namespace tovmar
