// The 3D view's context menu: what it offers, and the picture, OBJ file and shape it saves and the
// address it reads.
#include <wx/config.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/uiaction.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FileNames.h"
#include "app/Hints.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "panel/ControlIds.h"
#include "panel/ViewContextMenu.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/RunProcess.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/ScriptedAddressPrompt.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedViewPrompts.h"
#include "tests/support/WxTestUtil.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

// A Japanese target name (UTF-8).
const char kJapaneseName[] = "\xE8\x85\xB9\xE5\x9B\xB2\xE3\x82\x8A";

struct Entry {
  std::string label;
  bool enabled = false;
  bool checked = false;
  bool operator==(const Entry&) const = default;
};

// Opens the view's menu with `open`, records what it offers and closes it with Escape.
std::vector<Entry> OfferedEntries(const std::function<void()>& open) {
  std::vector<Entry> entries;
  const auto record = [&entries](wxMenuEvent& event) {
    for (const wxMenuItem* item : event.GetMenu()->GetMenuItems()) {
      if (item->IsSeparator()) continue;
      entries.push_back({item->GetItemLabel().utf8_string(), item->IsEnabled(),
                         item->IsCheckable() && item->IsChecked()});
    }
    wxTheApp->CallAfter([] { wxUIActionSimulator().Char(WXK_ESCAPE); });
  };
  View3D().Bind(wxEVT_MENU_OPEN, record);
  open();
  PumpEvents(300);
  View3D().Unbind(wxEVT_MENU_OPEN, record);
  return entries;
}

class ViewContextMenuTest : public testing::Test {
 protected:
  ~ViewContextMenuTest() override {
    View3D().Camera().Reset();
    Panel().SetTextureAutoReload(true);
  }

  // Loads the ball mesh, with a second target of a Japanese name beside "Big_Belly".
  void LoadTwoTargetBall() {
    LlmMesh mesh;
    ASSERT_TRUE(ReadCompleteMeshFile(CorePath(WriteBallMesh(m_folder, "ball.llm", 0.15f)), mesh));
    mesh.morphTargets.push_back(MakeMorphTarget(kJapaneseName, mesh.morphTargets[0].vertices));
    const wxString path = m_folder.File("two.llm");
    ASSERT_TRUE(WriteFileBytes(CorePath(path), WriteLlm(mesh)));
    m_dialogs.Choose(path);
    Press(IDC_LOAD_MESH);
    ASSERT_EQ(Doc().m_mesh.morphTargets.size(), 2u);
  }

  void SetWeights(float belly, float japanese) {
    Doc().m_mesh.morphTargets[0].weight = belly;
    Doc().m_mesh.morphTargets[1].weight = japanese;
    Doc().UpdateAllViewsWithHint(nullptr, HINT_MORPHS_CHANGED, nullptr);
  }

  std::vector<float> Weights() const {
    std::vector<float> weights;
    for (const MorphTarget& target : Doc().m_mesh.morphTargets) weights.push_back(target.weight);
    return weights;
  }

  // Runs the menu command `id`, its save dialog answering `path`.
  void SaveThroughMenu(int id, const wxString& path) {
    m_dialogs.Choose(path);
    Panel().RunViewMenuCommand(id);
  }

  TestFolder m_folder{"tovmar-view-menu"};
  ScriptedFileDialogs m_dialogs;
  // Saved shapes take the name the prompt proposes.
  ScriptedViewPrompts m_shapeNames;
  RecordingMessageSink m_messages;
};

TEST_F(ViewContextMenuTest, RightClickMenuKeyAndShiftF10OfferTheEntriesThatCanAct) {
  const auto entries = [](bool mesh, bool reload) {
    return std::vector<Entry>{{"モデル全体を表示\tF", mesh, false},
                              {"画像を保存...", mesh, false},
                              {"OBJ 形式で書き出し...", mesh, false},
                              {"形状を保存...", mesh, false},
                              {"形状エディタ...\tCtrl+E", true, false},
                              {"URL から Avatar 設定を読込...", true, false},
                              {"アバターを開く...", true, false},
                              {"テクスチャの変更を自動で読み込む", true, reload},
                              {"読み込み時に全体を表示", true, true}};
  };
  const auto rightClick = [] {
    wxUIActionSimulator mouse;
    mouse.MouseMove(View3D().ClientToScreen(wxPoint(40, 40)));
    PumpEvents(40);
    mouse.MouseClick(wxMOUSE_BTN_RIGHT);
  };
  const auto key = [](int code, int modifiers) {
    return [=] {
      View3D().SetFocus();
      PumpEvents(40);
      wxUIActionSimulator().Char(code, modifiers);
    };
  };

  RemoveAllMeshes();
  EXPECT_EQ(OfferedEntries(rightClick), entries(false, true));
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  EXPECT_EQ(OfferedEntries(key(WXK_F10, wxMOD_SHIFT)), entries(true, true));
  Panel().SetTextureAutoReload(false);
  EXPECT_EQ(OfferedEntries(key(WXK_MENU, wxMOD_NONE)), entries(true, false));

  // The check item turns the setting over; the first entry frames as F does.
  Panel().RunViewMenuCommand(ID_VIEW_TEXTURE_AUTO_RELOAD);
  EXPECT_TRUE(Panel().TextureAutoReload());
  View3D().Camera().distance = 80.0f;
  Panel().RunViewMenuCommand(ID_VIEW_FRAME_MODEL);
  EXPECT_LT(View3D().Camera().distance, 80.0f);
  EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ViewContextMenuTest, TheSavedPictureIsTheHeadlessRenderOfTheScene) {
  LoadTwoTargetBall();
  SetWeights(0.8f, 0.0f);
  ViewCamera& camera = View3D().Camera();
  camera.stored = TurnTiltRotation(0.6f, -0.3f);
  camera.shown = camera.stored;
  camera.light = {10.0f, 4.0f, 3.0f, 0.0f};
  ShownScene();

  // A name without an extension gets ".png".
  SaveThroughMenu(ID_VIEW_SAVE_PICTURE, m_folder.File("shot"));
  wxImage saved;
  ASSERT_TRUE(saved.LoadFile(m_folder.File("shot.png"), wxBITMAP_TYPE_PNG));
  const wxSize surface = View3D().CaptureFrame().GetSize();
  ASSERT_EQ(saved.GetSize(), surface);
  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  ASSERT_NE(context, nullptr) << error;
  const std::vector<std::uint8_t> headless =
      RenderSceneToRgb(*context, camera, surface.x, surface.y, Scene(), error);
  ASSERT_FALSE(headless.empty()) << error;
  EXPECT_EQ(DifferingPixels(saved, headless, 2), 0);

  // A full disk: a message, the old file kept, no temporary file left beside it.
  m_dialogs.Choose(m_folder.File("shot.png"));
  m_messages.answers = {true};
  {
    const ScopedFileSizeLimit limit(100);
    ASSERT_TRUE(limit.Active());
    Panel().RunViewMenuCommand(ID_VIEW_SAVE_PICTURE);
  }
  ASSERT_EQ(m_messages.messages.size(), 1u);
  EXPECT_THAT(m_messages.messages[0], testing::StartsWith("ファイルを保存できませんでした。"));
  wxImage kept;
  EXPECT_TRUE(kept.LoadFile(m_folder.File("shot.png"), wxBITMAP_TYPE_PNG));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.Path()), {}), 3);
}

TEST_F(ViewContextMenuTest, TheObjIsWhatExportObjWritesForTheSameWeights) {
  LoadTwoTargetBall();
  SetWeights(0.75f, -0.5f);
  SaveThroughMenu(ID_VIEW_EXPORT_OBJ, m_folder.File("window.obj"));
  const std::string cliObj = m_folder.File("cli.obj").utf8_string();
  const test::ProcessResult cli =
      test::RunProcess(TOVMAR_CLI_PATH, {"export-obj", m_folder.File("two.llm").utf8_string(),
                                         "--weight", "Big_Belly=0.75", "--weight",
                                         std::string(kJapaneseName) + "=-0.5", "-o", cliObj});
  ASSERT_EQ(cli.exitStatus, 0) << cli.err;
  const std::string windowObj = test::ReadFileText(m_folder.File("window.obj").utf8_string());
  EXPECT_FALSE(windowObj.empty());
  EXPECT_EQ(windowObj, test::ReadFileText(cliObj));
  EXPECT_TRUE(m_messages.messages.empty());

  // With a texture loaded, the material file beside names it, as export-obj --texture writes it.
  const wxString texture = m_folder.File("skin.png");
  wxImage picture(4, 4);
  ASSERT_TRUE(picture.SaveFile(texture, wxBITMAP_TYPE_PNG));
  Panel().LoadTextureFile(texture, m_folder.File(""));
  SaveThroughMenu(ID_VIEW_EXPORT_OBJ, m_folder.File("dressed.obj"));
  const std::string objPath = m_folder.File("dressed.obj").utf8_string();
  const std::string mtlPath = m_folder.File("dressed.mtl").utf8_string();
  const std::string windowDressed = test::ReadFileText(objPath);
  const std::string windowMtl = test::ReadFileText(mtlPath);
  EXPECT_THAT(windowDressed, testing::HasSubstr("\nmtllib dressed.mtl\nv "));
  EXPECT_THAT(windowMtl, testing::HasSubstr("\nmap_Kd skin.png\n"));
  const test::ProcessResult dressed = test::RunProcess(
      TOVMAR_CLI_PATH, {"export-obj", m_folder.File("two.llm").utf8_string(), "--weight",
                        "Big_Belly=0.75", "--weight", std::string(kJapaneseName) + "=-0.5",
                        "--texture", CorePath(texture), "-o", objPath});
  ASSERT_EQ(dressed.exitStatus, 0) << dressed.err;
  EXPECT_EQ(windowDressed, test::ReadFileText(objPath));
  EXPECT_EQ(windowMtl, test::ReadFileText(mtlPath));
}

TEST_F(ViewContextMenuTest, ASavedShapeLoadsBackWithItsNamesAndIds) {
  LoadTwoTargetBall();
  // The ids of the appearance file read are kept; a weight set afterwards keeps its target's id.
  const wxString appearance = m_folder.File("in.xml");
  ASSERT_TRUE(WriteFileBytes(CorePath(appearance),
                             "<linden_genepool><archetype><param id=\"42\" name=\"big_belly\" "
                             "value=\"0.5\"/></archetype></linden_genepool>"));
  Panel().LoadAppearance(appearance);
  SetWeights(0.3f, -1.0f / 3.0f);
  SaveThroughMenu(ID_VIEW_SAVE_SHAPE, m_folder.File("shape.xml"));
  const std::string saved = test::ReadFileText(m_folder.File("shape.xml").utf8_string());
  EXPECT_THAT(saved, testing::HasSubstr("id=\"42\" name=\"Big_Belly\""));
  EXPECT_THAT(saved, testing::HasSubstr(kJapaneseName));

  // Loading the mesh again zeroes the weights; the saved shape sets them back exactly.
  m_dialogs.Choose(m_folder.File("two.llm"));
  Press(IDC_LOAD_MESH);
  ASSERT_EQ(Weights(), (std::vector<float>{0.0f, 0.0f}));
  Panel().LoadAppearance(m_folder.File("shape.xml"));
  EXPECT_EQ(Weights(), (std::vector<float>{0.3f, -1.0f / 3.0f}));
  EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ViewContextMenuTest, AnAddressIsReadAsTheButtonReadsAFileAndRemembered) {
  LoadTwoTargetBall();
  LoopbackHttpServer server;
  server.SetRoute("/shape.xml",
                  {LoopbackHttpServer::Behaviour::kRespond,
                   LoopbackHttpServer::Response(
                       200, "OK",
                       "<linden_genepool><archetype><param id=\"1\" name=\"Big_Belly\" "
                       "value=\"0.25\"/></archetype></linden_genepool>")});
  const wxString url = wxString::FromUTF8(server.Url("/shape.xml"));
  ScriptedAddressPrompt prompt;

  // Text that is no web address reads nothing.
  prompt.answers = {m_folder.File("in.xml"), url, wxString()};
  Panel().RunViewMenuCommand(ID_VIEW_LOAD_URL);
  ASSERT_EQ(m_messages.messages.size(), 1u);
  EXPECT_EQ(Weights(), (std::vector<float>{0.0f, 0.0f}));

  Panel().RunViewMenuCommand(ID_VIEW_LOAD_URL);
  EXPECT_EQ(server.RequestCount("/shape.xml"), 1);
  EXPECT_EQ(Weights(), (std::vector<float>{0.25f, 0.0f}));

  // The address is offered first next time, and is in the profile.
  Panel().RunViewMenuCommand(ID_VIEW_LOAD_URL);
  ASSERT_EQ(prompt.offered.size(), 3u);
  ASSERT_FALSE(prompt.offered[2].empty());
  EXPECT_EQ(prompt.offered[2][0], url);
  EXPECT_EQ(wxConfigBase::Get()->Read("/RecentUrls/Url1"), url);
  EXPECT_EQ(m_messages.messages.size(), 1u);
}

}  // namespace
}  // namespace tovmar
