// The picture drawn without a window equals the one the 3D view shows for the same scene,
// camera and size, and drawing it leaves the window's own drawing undisturbed.
#include <wx/image.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "mesh/SceneStore.h"
#include "panel/ControlIds.h"
#include "render/Camera.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

// Pixels that are neither the background nor grey: the texture's colours on the ball.
int ColouredPixels(const std::vector<std::uint8_t>& rgb) {
  int coloured = 0;
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    if (rgb[i] != rgb[i + 1] || rgb[i + 1] != rgb[i + 2]) ++coloured;
  }
  return coloured;
}

// A picture with red, green, blue and white bands from top to bottom.
wxString WriteBands(const TestFolder& folder) {
  wxImage image(32, 32);
  const unsigned char bands[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  for (int band = 0; band < 4; ++band) {
    image.SetRGB(wxRect(0, band * 8, 32, 8), bands[band][0], bands[band][1], bands[band][2]);
  }
  const wxString path = folder.File("bands.png");
  EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
  return path;
}

class HeadlessMatchesWindowTest : public testing::Test {
 protected:
  ~HeadlessMatchesWindowTest() override {
    View3D().Camera().Reset();
    ShownScene();
  }

  TestFolder m_folder{"tovmar-headless"};
  ScriptedFileDialogs m_dialogs;
};

TEST_F(HeadlessMatchesWindowTest, TexturedTurnedLitSceneIsTheSamePicture) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  m_dialogs.Choose(WriteBands(m_folder));
  Press(IDC_LOAD_TEXTURE);
  ASSERT_EQ(Scene().MeshCount(), 2u);

  // A camera away from the start in every respect: turned, tilted, nearer, moved, lit aslant.
  ViewCamera& camera = View3D().Camera();
  camera.stored = TurnTiltRotation(0.6f, -0.3f);
  camera.shown = camera.stored;
  camera.distance = 4.0f;
  camera.pan = Vec3{0.0f, 0.1f, -0.05f};
  camera.light = {10.0f, 4.0f, 3.0f, 0.0f};
  ShownScene();
  const wxImage window = View3D().CaptureFrame();
  ASSERT_TRUE(window.IsOk());
  const int width = window.GetWidth(), height = window.GetHeight();

  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  ASSERT_NE(context, nullptr) << error;
  const std::vector<std::uint8_t> headless =
      RenderSceneToRgb(*context, camera, width, height, Scene(), error);
  ASSERT_EQ(headless.size(), static_cast<std::size_t>(width) * height * 3) << error;

  // Same rasteriser, same state: only depth precision (24 bits here, 32 in the window) may
  // move a pixel, and then by a step at most.
  EXPECT_EQ(DifferingPixels(window, headless, 2), 0);
  // The scene is really there: the picture's bands show on the ball.
  EXPECT_GT(ColouredPixels(headless), width * height / 20);

  // The window's context is untouched: the view draws the same frame again.
  const wxImage again = View3D().CaptureFrame();
  ASSERT_TRUE(again.IsOk());
  EXPECT_EQ(DifferingPixels(again, headless, 2), 0);
}

}  // namespace
}  // namespace tovmar
