// Loading a mesh with the panel's button and seeing it lit in the 3D view.
#include <wx/button.h>

#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "base/FileBytes.h"
#include "mesh/SceneStore.h"
#include "panel/ControlIds.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

bool IsBackground(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) == 64 && image.GetGreen(x, y) == 64 && image.GetBlue(x, y) == 64;
}

class MeshLoadTest : public testing::Test {
 protected:
  TestFolder m_folder{"tovmar-mesh-load"};
  ScriptedFileDialogs m_dialogs;
};

TEST_F(MeshLoadTest, ChosenMeshShowsLitOnTheGreyBackground) {
  const wxString path = WriteBallMesh(m_folder, "ball.llm", 0.15f);
  m_dialogs.Choose(path);
  Press(IDC_LOAD_MESH);

  // The dialog asked for meshes that exist.
  ASSERT_EQ(m_dialogs.requests.size(), 1u);
  EXPECT_EQ(m_dialogs.requests[0].filter,
            wxString::FromUTF8("LLM メッシュ(*.llm)|*.llm|全て(*.*)|*.*||"));
  EXPECT_TRUE(m_dialogs.requests[0].mustExist);

  // Two objects named with the path: the visible one and its hidden copy.
  SceneStore& store = Scene();
  ASSERT_EQ(store.MeshCount(), 2u);
  EXPECT_TRUE(store.GetMesh(0)->IsVisible());
  EXPECT_FALSE(store.GetMesh(1)->IsVisible());
  EXPECT_EQ(store.GetMesh(0)->header.name, path.utf8_string());
  EXPECT_EQ(Doc().GetMeshFolder(), wxString::FromUTF8(PathToUtf8(m_folder.Path())) + "/");
  EXPECT_EQ(Doc().m_mesh.morphTargets.size(), 1u);

  const wxImage scene = ShownScene();
  ASSERT_TRUE(scene.IsOk());
  const int w = scene.GetWidth(), h = scene.GetHeight();
  EXPECT_TRUE(IsBackground(scene, 2, 2));
  EXPECT_TRUE(IsBackground(scene, w - 3, h - 3));
  // The ball faces the light: its centre is lit well above the background.
  EXPECT_GT(scene.GetRed(w / 2, h / 2), 150);
  EXPECT_EQ(scene.GetRed(w / 2, h / 2), scene.GetBlue(w / 2, h / 2));

  // The next dialog starts in the remembered folder.
  m_dialogs.Cancel();
  Press(IDC_LOAD_MESH);
  EXPECT_EQ(m_dialogs.requests.back().initialFolder, Doc().GetMeshFolder());
}

TEST_F(MeshLoadTest, SecondLoadReplacesBothObjectsAndCancelChangesNothing) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "first.llm", 0.1f));
  Press(IDC_LOAD_MESH);
  SceneStore& store = Scene();
  const std::int32_t firstId = store.GetMesh(0)->header.id;

  m_dialogs.Choose(WriteBallMesh(m_folder, "second.llm", 0.2f));
  Press(IDC_LOAD_MESH);
  ASSERT_EQ(store.MeshCount(), 2u);
  EXPECT_GT(store.GetMesh(0)->header.id, firstId);
  EXPECT_GT(store.GetMesh(1)->header.id, store.GetMesh(0)->header.id);
  EXPECT_EQ(store.FindMesh(firstId), nullptr);

  const std::int32_t secondId = store.GetMesh(0)->header.id;
  m_dialogs.Cancel();
  Press(IDC_LOAD_MESH);
  EXPECT_EQ(store.MeshCount(), 2u);
  EXPECT_EQ(store.GetMesh(0)->header.id, secondId);
}

TEST_F(MeshLoadTest, PaintAfterAResizeShowsNoSceneUntilTheTimerPaint) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  ShownScene();
  const int drawn = View3D().FramesDrawn();
  const std::int32_t contextId = View3D().ContextId();

  // The paint that makes the context for the new size draws nothing...
  Frame().SetSize(Frame().GetSize() + wxSize(0, -40));
  View3D().Update();
  EXPECT_EQ(View3D().FramesDrawn(), drawn);
  // ...the redraw timer's paint 10 ms later does, in a context under the same id.
  PumpEvents(150);
  EXPECT_GT(View3D().FramesDrawn(), drawn);
  EXPECT_EQ(View3D().ContextId(), contextId);
  Frame().SetSize(Frame().GetSize() + wxSize(0, 40));
  PumpEvents(100);
}

TEST_F(MeshLoadTest, DocumentCommandsKeepTheMeshAndSaveWritesAnEmptyFile) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  View3D().Camera().distance = 9.0f;

  // Save asks for a name the first time and writes zero bytes.
  const wxString saved = m_folder.File("scene.tovm");
  m_dialogs.Choose(saved);
  wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
  Frame().GetEventHandler()->ProcessEvent(save);
  ASSERT_TRUE(std::filesystem::exists(saved.utf8_string()));
  EXPECT_EQ(std::filesystem::file_size(saved.utf8_string()), 0u);
  EXPECT_EQ(Frame().GetTitle(), "scene.tovm - Tovmar");

  // New keeps the mesh and its folder, resets the camera and the caption.
  const wxString folder = Doc().GetMeshFolder();
  wxCommandEvent fresh(wxEVT_MENU, ID_FILE_NEW);
  Frame().GetEventHandler()->ProcessEvent(fresh);
  EXPECT_EQ(Frame().GetTitle(), wxString::FromUTF8("無題 - Tovmar"));
  EXPECT_EQ(Scene().MeshCount(), 2u);
  EXPECT_GT(Doc().m_mesh.numVertices, 0);
  EXPECT_EQ(Doc().GetMeshFolder(), folder);
  EXPECT_FLOAT_EQ(View3D().Camera().distance, 5.0f);

  // Open reads nothing from the file and keeps everything too.
  m_dialogs.Choose(saved);
  wxCommandEvent open(wxEVT_MENU, ID_FILE_OPEN);
  Frame().GetEventHandler()->ProcessEvent(open);
  EXPECT_EQ(Frame().GetTitle(), "scene.tovm - Tovmar");
  EXPECT_EQ(Scene().MeshCount(), 2u);

  wxCommandEvent back(wxEVT_MENU, ID_FILE_NEW);
  Frame().GetEventHandler()->ProcessEvent(back);
}

}  // namespace
}  // namespace tovmar
