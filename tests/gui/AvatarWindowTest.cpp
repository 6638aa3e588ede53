// The whole avatar in the window: a character folder made of the world's real parts, opened by the
// view's menu and by the start-up option, drawn whole, textured part by part and saved as shown.
#include <wx/image.h>
#include <wx/statusbr.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/CommandLineInfo.h"
#include "app/Hints.h"
#include "mesh/SceneStore.h"
#include "panel/AvatarPartsWindow.h"
#include "panel/ControlIds.h"
#include "panel/ViewContextMenu.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/RunProcess.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedViewPrompts.h"
#include "tests/support/WxTestUtil.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

namespace fs = std::filesystem;

// Where the figure is in a picture of the view: the rows and columns that differ from the
// background, which the top-left corner shows.
struct Figure {
  int left = 0, top = 0, right = -1, bottom = -1;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

bool IsBackground(const wxImage& image, int x, int y) {
  const auto near = [](int a, int b) { return std::abs(a - b) <= 24; };
  return near(image.GetRed(x, y), image.GetRed(0, 0)) &&
         near(image.GetGreen(x, y), image.GetGreen(0, 0)) &&
         near(image.GetBlue(x, y), image.GetBlue(0, 0));
}

Figure FindFigure(const wxImage& image) {
  Figure figure{image.GetWidth(), image.GetHeight(), -1, -1};
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (IsBackground(image, x, y)) continue;
      figure = {std::min(figure.left, x), std::min(figure.top, y), std::max(figure.right, x),
                std::max(figure.bottom, y)};
    }
  }
  return figure;
}

// How many figure pixels of the rows [from, to) are mostly of the colour channel `channel`
// (0 red, 2 blue), and how many figure pixels those rows hold.
struct Tint {
  int tinted = 0;
  int all = 0;
};
Tint TintOfRows(const wxImage& image, int from, int to, int channel) {
  Tint tint;
  for (int y = std::max(0, from); y < std::min(to, image.GetHeight()); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (IsBackground(image, x, y)) continue;
      ++tint.all;
      const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
      const int mine = channel == 0 ? r : b, other = channel == 0 ? b : r;
      if (mine > g + 40 && mine > other + 40) ++tint.tinted;
    }
  }
  return tint;
}

// How far the shape of mesh object `mesh` differs from `before` (the same object earlier), its
// first vertex held still: the figure is centred again after each change, which moves every part a
// little.
float ShapeChange(std::size_t mesh, const std::vector<Vec3>& before) {
  const auto& now = Scene().GetMesh(mesh)->positions;
  if (now.size() != before.size() || now.empty()) return INFINITY;
  float change = 0.0f;
  for (std::size_t i = 0; i < now.size(); ++i) {
    for (int axis = 0; axis < 3; ++axis) {
      const auto at = [axis](const Vec3& v) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; };
      change =
          std::max(change, std::abs((at(now[i]) - at(now[0])) - (at(before[i]) - at(before[0]))));
    }
  }
  return change;
}

std::vector<Vec3> Positions(std::size_t mesh) {
  const auto& positions = Scene().GetMesh(mesh)->positions;
  return std::vector<Vec3>(positions.begin(), positions.end());
}

class AvatarWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    const fs::path real = TOVMAR_REALDATA_DIR;
    for (const char* name : {"avatar_skeleton.xml", "avatar_lower_body.llm", "avatar_eye.llm",
                             "avatar_eyelashes.llm"}) {
      if (!fs::exists(real / name)) GTEST_SKIP() << "the real character files are absent";
      fs::create_directories(m_folder.Path() / "character");
      fs::copy_file(real / name, m_folder.Path() / "character" / name);
    }
    m_character = wxString::FromUTF8((m_folder.Path() / "character").string());
  }
  ~AvatarWindowTest() override {
    if (Panel().PartsWindow() != nullptr) Panel().PartsWindow()->Hide();
    RemoveAllMeshes();
    View3D().Camera().Reset();
  }

  void OpenByMenu(const wxString& folder) {
    m_dialogs.Choose(folder);
    Panel().RunViewMenuCommand(ID_VIEW_OPEN_AVATAR);
  }

  // The view framed on the whole scene, as F does.
  wxImage FramedScene() {
    View3D().FrameModel();
    return ShownScene();
  }

  // Writes a picture of one colour as a PNG file and returns its path.
  wxString WriteColour(const std::string& name, unsigned char r, unsigned char g, unsigned char b) {
    wxImage image(16, 16);
    image.SetRGB(wxRect(0, 0, 16, 16), r, g, b);
    const wxString path = m_folder.File(name);
    EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
    return path;
  }

  TestFolder m_folder{"tovmar-avatar-window"};
  wxString m_character;
  ScriptedFileDialogs m_dialogs;
  // Saved shapes take the name the prompt proposes.
  ScriptedViewPrompts m_shapeNames;
  RecordingMessageSink m_messages;
};

TEST_F(AvatarWindowTest, TheMenuOpensTheWholeStandingFigureWithItsPartsListed) {
  OpenByMenu(m_character);
  ASSERT_TRUE(Panel().HasAvatar());
  EXPECT_TRUE(m_messages.messages.empty());
  // The lower body once, both eyes, the eyelashes once.
  EXPECT_EQ(Scene().MeshCount(), 4u);
  ASSERT_NE(Panel().PartsWindow(), nullptr);
  EXPECT_TRUE(Panel().PartsWindow()->IsShown());
  EXPECT_EQ(Panel().PartsWindow()->SelectedText().utf8_string(), "選択: 下半身 (lower_body)");
  // The caption names the folder, the status bar the selected part's file.
  EXPECT_EQ(Frame().GetTitle(), "character - Tovmar");
  EXPECT_THAT(Frame().GetStatusBar()->GetStatusText(0).utf8_string(),
              testing::StartsWith("メッシュ: avatar_lower_body.llm (頂点 "));

  const wxImage shown = FramedScene();
  const Figure figure = FindFigure(shown);
  ASSERT_GT(figure.Height(), shown.GetHeight() / 2);
  EXPECT_GT(figure.Height(), 2 * figure.Width());
  // The eyes float over the legs (there is no head or upper body): a band of empty rows lies
  // between the figure's top tenth and its legs.
  EXPECT_GT(TintOfRows(shown, figure.top, figure.top + figure.Height() / 20, 0).all, 0);
  EXPECT_EQ(
      TintOfRows(shown, figure.top + figure.Height() / 10, figure.top + figure.Height() / 5, 0).all,
      0);
}

TEST_F(AvatarWindowTest, TextureButtonsActOnTheSelectedPartOnly) {
  OpenByMenu(m_character);
  ASSERT_TRUE(Panel().HasAvatar());
  m_dialogs.Choose(WriteColour("red.png", 230, 20, 20));
  Press(IDC_LOAD_TEXTURE);
  Panel().PartsWindow()->Select(1);
  EXPECT_EQ(Panel().PartsWindow()->SelectedText().utf8_string(), "選択: 目 (eyes)");
  EXPECT_THAT(Frame().GetStatusBar()->GetStatusText(0).utf8_string(),
              testing::StartsWith("メッシュ: avatar_eye.llm"));
  m_dialogs.Choose(WriteColour("blue.png", 20, 20, 230));
  Press(IDC_LOAD_TEXTURE);
  EXPECT_TRUE(m_messages.messages.empty());

  const wxImage shown = FramedScene();
  const Figure figure = FindFigure(shown);
  const int eyeRows = figure.Height() / 20;
  const Tint legsRed = TintOfRows(shown, figure.top + figure.Height() / 4, figure.bottom, 0);
  const Tint eyesRed = TintOfRows(shown, figure.top, figure.top + eyeRows, 0);
  const Tint eyesBlue = TintOfRows(shown, figure.top, figure.top + eyeRows, 2);
  ASSERT_GT(legsRed.all, 0);
  ASSERT_GT(eyesBlue.all, 0);
  EXPECT_GT(legsRed.tinted, legsRed.all / 2);
  EXPECT_EQ(eyesRed.tinted, 0);
  // Both eyes wear the one texture.
  EXPECT_GT(eyesBlue.tinted, eyesBlue.all / 4);
  EXPECT_EQ(Scene().GetMesh(1)->GetTextureId(), Scene().GetMesh(2)->GetTextureId());
}

TEST_F(AvatarWindowTest, TheSavedPictureIsTheWholeAvatarAsShown) {
  App().ApplyStartupPaths(StartupPaths{"", "", m_character.utf8_string(), ""});
  ASSERT_TRUE(Panel().HasAvatar());
  FramedScene();
  const wxImage shown = View3D().CaptureFrame();
  m_dialogs.Choose(m_folder.File("avatar.png"));
  Panel().RunViewMenuCommand(ID_VIEW_SAVE_PICTURE);
  EXPECT_THAT(m_messages.messages, testing::IsEmpty());
  wxImage saved;
  ASSERT_TRUE(saved.LoadFile(m_folder.File("avatar.png"), wxBITMAP_TYPE_PNG));
  ASSERT_EQ(saved.GetSize(), shown.GetSize());
  EXPECT_EQ(0, std::memcmp(saved.GetData(), shown.GetData(),
                           static_cast<std::size_t>(shown.GetWidth()) * shown.GetHeight() * 3));
  const Figure figure = FindFigure(saved);
  EXPECT_GT(figure.Height(), 2 * figure.Width());
}

TEST_F(AvatarWindowTest, AppearanceAndMorphWeightsShapeEveryPartAndTheShapeKeepsThemAll) {
  OpenByMenu(m_character);
  ASSERT_TRUE(Panel().HasAvatar());
  // Mesh objects: the lower body, the two eyes, the eyelashes.
  m_dialogs.Choose(WriteColour("red.png", 230, 20, 20));
  Press(IDC_LOAD_TEXTURE);
  const std::int32_t texture = Scene().GetMesh(0)->GetTextureId();
  ASSERT_NE(Scene().FindTexture(texture), nullptr);
  const std::vector<Vec3> legs = Positions(0), lashes = Positions(3);
  const wxString xml = m_folder.File("shape.xml");
  std::ofstream(xml.utf8_string()) << "<linden_genepool version=\"1.0\"><archetype name=\"x\">"
                                      "<param id=\"7\" name=\"fat_legs\" value=\"1\"/>"
                                      "<param id=\"8\" name=\"eyelashes_long\" value=\"1\"/>"
                                      "</archetype></linden_genepool>";
  Panel().LoadAppearance(xml);
  EXPECT_TRUE(m_messages.messages.empty());
  EXPECT_GT(ShapeChange(0, legs), 0.01f);
  EXPECT_GT(ShapeChange(3, lashes), 0.01f);
  // Reshaping keeps every part's texture.
  EXPECT_EQ(Scene().GetMesh(0)->GetTextureId(), texture);
  ASSERT_NE(Doc().m_mesh.FindMorphTarget("Fat_Legs"), nullptr);
  EXPECT_EQ(Doc().m_mesh.FindMorphTarget("Fat_Legs")->weight, 1.0f);

  // The shape holds the weights of every part, each name once.
  m_dialogs.Choose(m_folder.File("saved.xml"));
  Panel().RunViewMenuCommand(ID_VIEW_SAVE_SHAPE);
  const std::string saved = test::ReadFileText(m_folder.File("saved.xml").utf8_string());
  EXPECT_THAT(saved, testing::HasSubstr("name=\"Fat_Legs\""));
  EXPECT_THAT(saved, testing::HasSubstr("name=\"Eyelashes_Long\""));

  // A weight the morph dialog sets on the selected part reshapes it; another part keeps its own.
  Doc().m_mesh.FindMorphTarget("Fat_Legs")->weight = 0.0f;
  Doc().UpdateAllViewsWithHint(nullptr, HINT_MORPHS_CHANGED, nullptr);
  EXPECT_LT(ShapeChange(0, legs), 1e-4f);
  Panel().PartsWindow()->Select(2);
  ASSERT_NE(Doc().m_mesh.FindMorphTarget("Eyelashes_Long"), nullptr);
  EXPECT_EQ(Doc().m_mesh.FindMorphTarget("Eyelashes_Long")->weight, 1.0f);
  EXPECT_GT(ShapeChange(3, lashes), 0.01f);
}

TEST_F(AvatarWindowTest, AFolderThatFailsIsNamedWithItsFaultAndKeepsTheScene) {
  const fs::path character = m_folder.Path() / "character";
  const fs::path noSkeleton = m_folder.Path() / "no-skeleton";
  const fs::path badSkeleton = m_folder.Path() / "bad-skeleton";
  const fs::path noParts = m_folder.Path() / "no-parts";
  for (const fs::path& folder : {noSkeleton, badSkeleton, noParts}) fs::create_directories(folder);
  fs::copy_file(character / "avatar_eye.llm", noSkeleton / "avatar_eye.llm");
  fs::copy_file(character / "avatar_eye.llm", badSkeleton / "avatar_eye.llm");
  WriteFileBytes((badSkeleton / "avatar_skeleton.xml").string(), "<linden_skeleton><bone");
  fs::copy_file(character / "avatar_skeleton.xml", noParts / "avatar_skeleton.xml");
  WriteFileBytes((noParts / "avatar_eye.llm").string(), "not a mesh");

  const wxString ball = WriteBallMesh(m_folder, "ball.llm", 0.2f);
  Panel().LoadMeshFile(ball, m_folder.File(""));
  const wxImage shownBefore = ShownScene();
  const std::vector<std::uint8_t> before(
      shownBefore.GetData(),
      shownBefore.GetData() +
          static_cast<std::size_t>(shownBefore.GetWidth()) * shownBefore.GetHeight() * 3);
  const struct {
    fs::path folder;
    const char* fault;
  } cases[] = {{m_folder.Path() / "gone", "フォルダがありません。"},
               {noSkeleton, "avatar_skeleton.xml がありません。"},
               {badSkeleton, "avatar_skeleton.xml が読み込めません。"},
               {noParts, "読み込めるパーツのファイル"}};
  for (const auto& [folder, fault] : cases) {
    SCOPED_TRACE(folder.string());
    m_messages.messages.clear();
    OpenByMenu(wxString::FromUTF8(folder.string()));
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_THAT(m_messages.messages[0], testing::HasSubstr("「" + folder.string() + "」"));
    EXPECT_THAT(m_messages.messages[0], testing::HasSubstr(fault));
    EXPECT_FALSE(Panel().HasAvatar());
    EXPECT_EQ(Scene().MeshCount(), 2u);
    EXPECT_EQ(DifferingPixels(ShownScene(), before, 0), 0);
  }

  // A part that cannot be read is named, and the others open.
  fs::copy_file(m_folder.Path() / "ball.llm", noParts / "avatar_lower_body.llm");
  m_messages.messages.clear();
  OpenByMenu(wxString::FromUTF8(noParts.string()));
  ASSERT_TRUE(Panel().HasAvatar());
  ASSERT_EQ(m_messages.messages.size(), 1u);
  EXPECT_THAT(m_messages.messages[0], testing::EndsWith("\navatar_eye.llm"));

  // A single mesh loaded over an open avatar replaces it and closes the parts list.
  OpenByMenu(m_character);
  ASSERT_TRUE(Panel().HasAvatar());
  Panel().LoadMeshFile(ball, m_folder.File(""));
  EXPECT_FALSE(Panel().HasAvatar());
  EXPECT_FALSE(Panel().PartsWindow()->IsShown());
  EXPECT_EQ(Scene().MeshCount(), 2u);
}

}  // namespace
}  // namespace tovmar
