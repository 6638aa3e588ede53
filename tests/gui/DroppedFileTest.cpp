// A file dropped on the window (or given as the program's argument) is taken for what it is: a
// mesh shows in the view and names the caption, a picture dresses it, an appearance file shapes
// it, and the status bar says what is loaded.
#include <fstream>
#include <string>

#include <wx/image.h>
#include <wx/statusbr.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mesh/SceneStore.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

using testing::HasSubstr;

bool IsBackground(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) == 64 && image.GetGreen(x, y) == 64 && image.GetBlue(x, y) == 64;
}

std::string StatusField(int field) {
  return Frame().GetStatusBar()->GetStatusText(field).utf8_string();
}

// Drops `path` on the main window as the desktop does.
void Drop(const wxString& path) {
  // The event owns the array of names, as the toolkit's own drop hands it over.
  auto* files = new wxString[1]{path};
  wxDropFilesEvent drop(wxEVT_DROP_FILES, 1, files);
  Frame().GetEventHandler()->ProcessEvent(drop);
  PumpEvents(40);
}

class DroppedFileTest : public testing::Test {
 protected:
  TestFolder m_folder{"tovmar-dropped-file"};
  RecordingMessageSink m_messages;
};

TEST_F(DroppedFileTest, MeshPictureAndAppearanceEachLoadAsTheirCommandDoes) {
  RemoveAllMeshes();
  const wxImage empty = ShownScene();
  ASSERT_TRUE(empty.IsOk());
  EXPECT_TRUE(IsBackground(empty, empty.GetWidth() / 2, empty.GetHeight() / 2));

  // The mesh: lit in the middle of the view, named in the caption and the status bar.
  Drop(WriteBallMesh(m_folder, "ball.LLM", 0.15f));
  const wxImage lit = ShownScene();
  ASSERT_TRUE(lit.IsOk());
  const int cx = lit.GetWidth() / 2, cy = lit.GetHeight() / 2;
  EXPECT_GT(lit.GetRed(cx, cy), 150);
  EXPECT_TRUE(IsBackground(lit, 2, 2));
  EXPECT_EQ(Frame().GetTitle(), "ball.LLM - Tovmar");
  EXPECT_EQ(StatusField(0), "メッシュ: ball.LLM (頂点 " +
                                std::to_string(Doc().m_mesh.coords.size()) + "、ターゲット 1)");

  // A red picture dresses it.
  wxImage red(8, 4);
  red.SetRGB(wxRect(0, 0, 8, 4), 255, 0, 0);
  const wxString picture = m_folder.File("skin.PNG");
  ASSERT_TRUE(red.SaveFile(picture, wxBITMAP_TYPE_PNG));
  Drop(picture);
  const wxImage dressed = ShownScene();
  EXPECT_GT(dressed.GetRed(cx, cy), 150);
  EXPECT_LT(dressed.GetGreen(cx, cy), 40);
  EXPECT_EQ(StatusField(1), "テクスチャ: skin.PNG (8 × 4)");

  // An appearance file sets the weight it names.
  const wxString appearance = m_folder.File("look.xml");
  std::ofstream(appearance.utf8_string())
      << "<linden_genepool><archetype><param id=\"1\" name=\"big_belly\" value=\"0.5\"/>"
         "</archetype></linden_genepool>";
  Drop(appearance);
  EXPECT_EQ(Doc().m_mesh.morphTargets.at(0).weight, 0.5f);
  EXPECT_EQ(StatusField(2), "Avatar 設定: look.xml (ターゲット 1 個)");
  EXPECT_TRUE(m_messages.messages.empty());

  // A new mesh empties the texture and appearance fields.
  Drop(WriteBallMesh(m_folder, "other.llm", 0.1f));
  EXPECT_EQ(Frame().GetTitle(), "other.llm - Tovmar");
  EXPECT_THAT(StatusField(0), HasSubstr("other.llm"));
  EXPECT_EQ(StatusField(1), "");
  EXPECT_EQ(StatusField(2), "");
}

TEST_F(DroppedFileTest, APictureWithoutAMeshAsksForOneAndADocumentStillOpens) {
  RemoveAllMeshes();
  wxImage image(4, 4);
  const wxString picture = m_folder.File("skin.png");
  ASSERT_TRUE(image.SaveFile(picture, wxBITMAP_TYPE_PNG));
  Drop(picture);
  EXPECT_EQ(m_messages.messages, std::vector<std::string>{"先にLLMメッシュを読み込んで下さい。"});

  const wxString document = m_folder.File("scene.tovm");
  std::ofstream(document.utf8_string()).flush();
  Drop(document);
  EXPECT_EQ(Frame().GetTitle(), "scene.tovm - Tovmar");
}

}  // namespace
}  // namespace tovmar
