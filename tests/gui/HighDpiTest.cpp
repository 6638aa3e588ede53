// The application on a display scaled by 2 (GDK_SCALE=2): window positions and sizes stay in
// logical units while every logical pixel covers 2 x 2 pixels of the display. The 3D view fills
// all of its surface, the pointer still turns the model by logical distances, the panel keeps the
// form's proportions at twice the size, and its pictures show at full size, the texture
// thumbnail and the text at the display's own resolution.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include "mesh/SceneStore.h"
#include "panel/BitmapFrame.h"
#include "panel/ControlIds.h"
#include "render/Camera.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "resources/LinkPictures.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

constexpr int kScale = 2;

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
};

Rgb PixelAt(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

constexpr Rgb kBackground{64, 64, 64};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kLabelBlue{160, 200, 255};
constexpr Rgb kMidGrey{128, 128, 128};
constexpr Rgb kLightGrey{192, 192, 192};

// How many of the 2 x 2 blocks that one logical pixel covers hold more than one colour. A
// picture drawn in logical pixels and enlarged has none; one drawn at the display's resolution
// has them wherever it shows detail finer than a logical pixel.
int DetailedBlocks(const wxImage& image) {
  int detailed = 0;
  for (int y = 0; y + 1 < image.GetHeight(); y += kScale) {
    for (int x = 0; x + 1 < image.GetWidth(); x += kScale) {
      const Rgb corner = PixelAt(image, x, y);
      if (PixelAt(image, x + 1, y) != corner || PixelAt(image, x, y + 1) != corner ||
          PixelAt(image, x + 1, y + 1) != corner) {
        ++detailed;
      }
    }
  }
  return detailed;
}

// The runs of rows of `image` that hold `colour` somewhere, as (first, end) with end exclusive.
std::vector<std::pair<int, int>> RowRunsWith(const wxImage& image, Rgb colour) {
  std::vector<std::pair<int, int>> runs;
  for (int y = 0; y < image.GetHeight(); ++y) {
    bool found = false;
    for (int x = 0; x < image.GetWidth() && !found; ++x) found = PixelAt(image, x, y) == colour;
    if (!found) continue;
    if (runs.empty() || runs.back().second != y) runs.emplace_back(y, y);
    runs.back().second = y + 1;
  }
  return runs;
}

// Moves the real pointer to `point` in the client area of `window`; like every position the
// toolkit takes and reports, it is in logical units.
void PointerTo(wxWindow& window, const wxPoint& point) {
  wxUIActionSimulator().MouseMove(window.ClientToScreen(point));
  PumpEvents(40);
}

class HighDpiTest : public testing::Test {
 protected:
  void SetUp() override {
    if (Frame().GetContentScaleFactor() != kScale) {
      GTEST_SKIP() << "the display is not scaled by 2; run with GDK_SCALE=2";
    }
    // The 500 x 700 window takes 1000 x 1400 pixels of the display; a smaller one fits on it.
    m_frameRect = Frame().GetRect();
    const wxSize screen = wxGetDisplaySize();
    Frame().SetSize(wxRect(0, 0, std::min(320, screen.x), std::min(480, screen.y)));
    Panel().Scroll(0, 0);
    View3D().Camera().Reset();
    PumpEvents(150);
  }

  void TearDown() override {
    if (IsSkipped()) return;
    if (View3D().HasCapture()) wxUIActionSimulator().MouseUp();
    RemoveAllMeshes();
    Panel().m_thumbnail->Clear();
    Panel().Scroll(0, 0);
    View3D().Camera().Reset();
    Frame().SetSize(m_frameRect);
    PumpEvents(150);
  }

  // What the part of panel control `id` inside the panel's client area shows, in the display's
  // pixels.
  static wxImage ShownControl(int id) {
    wxWindow* control = Panel().FindWindow(id);
    control->Refresh(false);
    PumpEvents(150);
    const wxImage grabbed = GrabWindow(control);
    if (!grabbed.IsOk()) return grabbed;
    const wxRect visible =
        wxRect(control->GetPosition(), control->GetSize()).Intersect(Panel().GetClientRect());
    return grabbed.GetSubImage(wxRect(0, 0, visible.width * kScale, visible.height * kScale));
  }

  TestFolder m_folder{"tovmar-high-dpi"};
  ScriptedFileDialogs m_dialogs;
  wxRect m_frameRect;
};

TEST_F(HighDpiTest, SceneFillsTheWholeSurfaceOfTheView) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  const wxImage shown = ShownScene();
  ASSERT_EQ(shown.GetSize(), View3D().GetClientSize() * kScale);
  const int width = shown.GetWidth(), height = shown.GetHeight();

  // Background in all four corners of the surface, the lit ball in its middle.
  EXPECT_EQ(PixelAt(shown, 0, 0), kBackground);
  EXPECT_EQ(PixelAt(shown, width - 1, 0), kBackground);
  EXPECT_EQ(PixelAt(shown, 0, height - 1), kBackground);
  EXPECT_EQ(PixelAt(shown, width - 1, height - 1), kBackground);
  EXPECT_GT(PixelAt(shown, width / 2, height / 2).red, 200);
  int top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    if (PixelAt(shown, width / 2, y) == kBackground) continue;
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  EXPECT_NEAR((top + bottom) / 2.0, (height - 1) / 2.0, 1.0);

  // Pixel for pixel the picture of the scene at the surface's full size: the projection, the
  // viewport and the context all count the surface's pixels.
  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  ASSERT_NE(context, nullptr) << error;
  const std::vector<std::uint8_t> expected =
      RenderSceneToRgb(*context, View3D().Camera(), width, height, Scene(), error);
  ASSERT_EQ(expected.size(), std::size_t(width) * height * 3) << error;
  EXPECT_EQ(DifferingPixels(shown, expected, 2), 0);

  // The frame read back from the view's context covers the same surface.
  EXPECT_EQ(View3D().CaptureFrame().GetSize(), shown.GetSize());
}

TEST_F(HighDpiTest, DragAcrossTheFullWidthStillTurnsOneRadian) {
  const wxSize client = View3D().GetClientSize();
  const int y = client.y / 2;
  PointerTo(View3D(), wxPoint(0, y));
  wxUIActionSimulator mouse;
  mouse.MouseDown();
  PumpEvents(40);
  for (int step = 1; step <= 4; ++step) PointerTo(View3D(), wxPoint(client.x * step / 4, y));
  mouse.MouseUp();
  PumpEvents(40);

  // One radian about the vertical axis, not half of one: the drag is measured against the
  // logical width, in which the pointer moves.
  const Quaternion stored = View3D().Camera().stored;
  EXPECT_NEAR(stored.x, 0.0f, 1e-6f);
  EXPECT_NEAR(stored.y, 0.0f, 1e-6f);
  EXPECT_NEAR(stored.z, std::sin(0.5f), 1e-6f);
  EXPECT_NEAR(stored.w, std::cos(0.5f), 1e-6f);
}

TEST_F(HighDpiTest, PanelKeepsTheFormsProportionsAtTwiceTheSize) {
  const wxImage shown = GrabWindow(&Panel());
  ASSERT_EQ(shown.GetSize(), Panel().GetClientSize() * kScale);

  // The mesh and texture section labels, found by their colour.
  const auto runs = RowRunsWith(shown, kLabelBlue);
  ASSERT_GE(runs.size(), 2u);
  const auto [meshTop, meshEnd] = runs[0];
  const auto [textureTop, textureEnd] = runs[1];
  // Each sits where the form puts it, at twice its logical position and height.
  EXPECT_EQ(meshTop, kScale * 133);
  EXPECT_EQ(textureTop, kScale * 255);
  const int labelHeight = kScale * 22;
  EXPECT_EQ(meshEnd - meshTop, labelHeight);
  EXPECT_EQ(textureEnd - textureTop, labelHeight);
  // So the form's proportions hold: 81 dialog units between the labels against 15 of height
  // (each cut to whole pixels).
  EXPECT_NEAR(static_cast<double>(textureTop - meshTop) / labelHeight, 81.0 / 15.0, 0.2);
}

TEST_F(HighDpiTest, LabelTextIsDrawnAtTheDisplaysResolution) {
  const wxImage shown = ShownControl(IDC_LABEL_MESH);
  ASSERT_TRUE(shown.IsOk());
  const auto ink = RowRunsWith(shown, kBlack);
  ASSERT_FALSE(ink.empty());
  // Characters of most of the label's height, as at 100 %, and with edges finer than a logical
  // pixel: text enlarged from logical pixels would come in 2 x 2 blocks of one colour.
  EXPECT_GT(ink.back().second - ink.front().first, shown.GetHeight() * 2 / 5);
  EXPECT_GT(DetailedBlocks(shown), 30);
}

TEST_F(HighDpiTest, LinkPictureShowsAtFullSize) {
  const wxImage shown = ShownControl(IDC_URL1);
  ASSERT_TRUE(shown.IsOk());
  ASSERT_EQ(shown.GetSize(), wxSize(kLinkPictureWidth, kLinkPictureHeight) * kScale);

  // Each of the picture's 84 x 36 pixels covers 2 x 2 pixels of the display, as every logical
  // pixel does, and the picture fills the control.
  const std::vector<std::uint8_t> picture = MakeHomePagePicture();
  int wrong = 0;
  for (int y = 0; y < shown.GetHeight(); ++y) {
    for (int x = 0; x < shown.GetWidth(); ++x) {
      const std::uint8_t* pixel =
          &picture[(std::size_t(y / kScale) * kLinkPictureWidth + x / kScale) * 4];
      if (PixelAt(shown, x, y) != Rgb{pixel[2], pixel[1], pixel[0]}) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(HighDpiTest, ThumbnailShowsTextureDetailFinerThanALogicalPixel) {
  // A texture with one texel for each display pixel of the thumbnail, a checkerboard of single
  // black and white texels, given bottom row first.
  BitmapFrame& thumbnail = *Panel().m_thumbnail;
  // Scrolled up to the top of the panel, so that all of its height shows.
  int unitX = 0, unitY = 0;
  Panel().GetScrollPixelsPerUnit(&unitX, &unitY);
  Panel().Scroll(0, thumbnail.GetPosition().y / unitY);
  PumpEvents(150);
  const wxSize surface = thumbnail.GetClientSize() * kScale;
  std::vector<std::uint8_t> texture(std::size_t(surface.x) * surface.y * 4, 0);
  for (int row = 0; row < surface.y; ++row) {
    for (int x = 0; x < surface.x; ++x) {
      const std::uint8_t value = (x + row) % 2 == 0 ? 255 : 0;
      std::uint8_t* texel = &texture[(std::size_t(row) * surface.x + x) * 4];
      texel[0] = texel[1] = texel[2] = value;
    }
  }
  thumbnail.SetImage(surface.x, surface.y, texture.data());
  const wxImage shown = ShownControl(IDC_THUMBNAIL);
  ASSERT_TRUE(shown.IsOk());
  ASSERT_EQ(shown.GetHeight(), surface.y);

  // Every display pixel shows its own texel: shown row y is texture row surface.y - 1 - y. (The
  // panel scrolls on this display, and GTK draws its scroll indicator over the panel's right
  // edge, next to the thumbnail's last columns.)
  const int indicator = 4 * kScale;
  int wrong = 0;
  for (int y = 0; y < shown.GetHeight(); ++y) {
    for (int x = 0; x < shown.GetWidth() - indicator; ++x) {
      const int value = (x + surface.y - 1 - y) % 2 == 0 ? 255 : 0;
      if (PixelAt(shown, x, y) != Rgb{value, value, value}) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(HighDpiTest, LightPadPictureShowsAtFullSize) {
  Panel().Scroll(0, Panel().GetVirtualSize().y);
  PumpEvents(150);
  const wxImage shown = ShownControl(IDC_LIGHT_POS);
  ASSERT_TRUE(shown.IsOk()) << "the light pad is not wholly on the display";

  // The vertical cross hair: the column with the most light grey.
  int crossHair = -1, mostGrey = 0;
  for (int x = 0; x < shown.GetWidth(); ++x) {
    int grey = 0;
    for (int y = 0; y < shown.GetHeight(); ++y) grey += PixelAt(shown, x, y) == kLightGrey;
    if (grey > mostGrey) {
      mostGrey = grey;
      crossHair = x;
    }
  }
  ASSERT_GE(crossHair, 0);
  // Four picture pixels right of the cross hair the 81 x 81 disc of radius 38 spans 75 of its
  // rows, which show as 150 rows of the display.
  const int column = crossHair + kScale * 4;
  ASSERT_LT(column, shown.GetWidth());
  int first = -1, last = -1;
  for (int y = 0; y < shown.GetHeight(); ++y) {
    if (PixelAt(shown, column, y) != kMidGrey) continue;
    if (first < 0) first = y;
    last = y;
  }
  ASSERT_GE(first, 0);
  EXPECT_EQ(last - first + 1, kScale * 75);
}

}  // namespace
}  // namespace tovmar
