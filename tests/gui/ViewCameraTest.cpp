// Turning, zooming, moving and lighting the model in the running application with the real
// pointer, the wheel, the panel's buttons and the keyboard, and what the 3D view then shows.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "panel/ControlIds.h"
#include "panel/ViewContextMenu.h"
#include "render/Camera.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

constexpr float kTolerance = 1e-6f;
const Quaternion kIdentity{};
const std::array<float, 4> kStartLight{10.0f, 0.0f, 0.0f, 0.0f};

// Where the ball shows in a picture of the view: the mean position of the pixels that are not
// the grey background, and the same mean weighted by each pixel's brightness, which leans
// towards the lit side.
struct BallInPicture {
  int pixels = 0;
  double centreX = 0.0;
  double centreY = 0.0;
  double brightX = 0.0;
  double brightY = 0.0;
};

BallInPicture FindBall(const wxImage& image) {
  BallInPicture ball;
  double weight = 0.0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const int red = image.GetRed(x, y);
      if (red == 64 && image.GetGreen(x, y) == 64 && image.GetBlue(x, y) == 64) continue;
      ++ball.pixels;
      ball.centreX += x;
      ball.centreY += y;
      weight += red;
      ball.brightX += red * x;
      ball.brightY += red * y;
    }
  }
  if (ball.pixels == 0) return ball;
  ball.centreX /= ball.pixels;
  ball.centreY /= ball.pixels;
  ball.brightX /= weight;
  ball.brightY /= weight;
  return ball;
}

int DifferingPixels(const wxImage& a, const wxImage& b) {
  int differing = 0;
  const unsigned char* p = a.GetData();
  const unsigned char* q = b.GetData();
  for (int i = 0; i < a.GetWidth() * a.GetHeight() * 3; i += 3) {
    if (p[i] != q[i] || p[i + 1] != q[i + 1] || p[i + 2] != q[i + 2]) ++differing;
  }
  return differing;
}

void ExpectNear(const Quaternion& actual, const Quaternion& expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
  EXPECT_NEAR(actual.z, expected.z, kTolerance);
  EXPECT_NEAR(actual.w, expected.w, kTolerance);
}

// A turn by `angle` radians about the screen's vertical axis (+Z) or its horizontal one (+Y).
Quaternion AboutVertical(double angle) {
  return {0.0f, 0.0f, static_cast<float>(std::sin(angle / 2)),
          static_cast<float>(std::cos(angle / 2))};
}
Quaternion AboutHorizontal(double angle) {
  return {0.0f, static_cast<float>(std::sin(angle / 2)), 0.0f,
          static_cast<float>(std::cos(angle / 2))};
}

// Moves the real pointer to `point` in the client area of `window`.
void PointerTo(wxWindow& window, const wxPoint& point) {
  wxUIActionSimulator().MouseMove(window.ClientToScreen(point));
  PumpEvents(40);
}

// Turns the wheel over the view by `rotation` (120 a notch, positive towards the user), about
// its vertical axis or, as a tilted wheel or a sideways swipe does, its horizontal one.
void Wheel(int rotation, wxMouseWheelAxis axis = wxMOUSE_WHEEL_VERTICAL) {
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.SetEventObject(&View3D());
  wheel.SetPosition(wxPoint(10, 10));
  wheel.m_wheelAxis = axis;
  wheel.m_wheelRotation = rotation;
  wheel.m_wheelDelta = 120;
  View3D().GetEventHandler()->ProcessEvent(wheel);
}

// Clicks the light pad with the real pointer at `point` of its client area.
void ClickLightPadAt(const wxPoint& point) {
  PointerTo(*Panel().FindWindow(IDC_LIGHT_POS), point);
  Press(IDC_LIGHT_POS);
}

class ViewCameraTest : public testing::Test {
 protected:
  void SetUp() override {
    // These tests follow the camera from its start; framing on load is tested on its own.
    Panel().SetFrameOnLoad(false);
    View3D().Camera().Reset();
    m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
    Press(IDC_LOAD_MESH);
    m_start = ShownScene();
    ASSERT_TRUE(m_start.IsOk());
  }

  void TearDown() override {
    if (View3D().HasCapture()) wxUIActionSimulator().MouseUp();
    Panel().Scroll(0, 0);
    PumpEvents(40);
    View3D().Camera().Reset();
    ShownScene();
    Panel().SetFrameOnLoad(true);
  }

  // Presses the left button at `from` in the view, moves to `to` in `steps` steps and releases.
  static void Drag(const wxPoint& from, const wxPoint& to, int steps) {
    PointerTo(View3D(), from);
    wxUIActionSimulator mouse;
    mouse.MouseDown();
    PumpEvents(40);
    for (int step = 1; step <= steps; ++step) {
      PointerTo(View3D(), from + (to - from) * step / steps);
    }
    mouse.MouseUp();
    PumpEvents(40);
  }

  TestFolder m_folder{"tovmar-view-camera"};
  ScriptedFileDialogs m_dialogs;
  wxImage m_start;
};

TEST_F(ViewCameraTest, PressAndReleaseAtOnePointKeepsTheOrientationAndRedraws) {
  ViewCamera& camera = View3D().Camera();
  camera.stored = TurnTiltRotation(0.4f, 0.2f);
  camera.shown = camera.stored;
  const Quaternion before = camera.stored;
  const wxSize size = View3D().GetClientSize();
  const wxPoint point(size.x / 3, size.y / 3);
  PointerTo(View3D(), point);
  const int drawn = View3D().FramesDrawn();

  wxUIActionSimulator mouse;
  mouse.MouseDown();
  PumpEvents(40);
  EXPECT_TRUE(View3D().HasCapture());
  mouse.MouseUp();
  PumpEvents(100);
  EXPECT_EQ(camera.stored, before);
  EXPECT_EQ(camera.shown, before);
  EXPECT_FALSE(View3D().HasCapture());
  EXPECT_GT(View3D().FramesDrawn(), drawn);
}

TEST_F(ViewCameraTest, DragAcrossTheFullWidthTurnsOneRadianAboutTheVerticalAxis) {
  const wxSize size = View3D().GetClientSize();
  const int y = size.y / 2;
  ViewCamera& camera = View3D().Camera();

  // Halfway, the shown orientation follows the pointer; the stored one waits for the release.
  PointerTo(View3D(), wxPoint(0, y));
  wxUIActionSimulator mouse;
  mouse.MouseDown();
  PumpEvents(40);
  for (int step = 1; step <= 4; ++step) PointerTo(View3D(), wxPoint(size.x * step / 8, y));
  ExpectNear(camera.shown, AboutVertical(static_cast<double>(size.x / 2) / size.x));
  EXPECT_EQ(camera.stored, kIdentity);
  for (int step = 5; step <= 8; ++step) PointerTo(View3D(), wxPoint(size.x * step / 8, y));
  mouse.MouseUp();
  PumpEvents(40);
  ExpectNear(camera.stored, AboutVertical(1.0));
  EXPECT_EQ(camera.shown, camera.stored);

  // The side that faced the camera, and the light with it, turned towards screen right.
  const wxImage turned = ShownScene();
  ASSERT_EQ(turned.GetSize(), m_start.GetSize());
  EXPECT_GT(DifferingPixels(m_start, turned), size.x * size.y / 50);
  const BallInPicture before = FindBall(m_start);
  const BallInPicture after = FindBall(turned);
  EXPECT_NEAR(before.brightX, before.centreX, 2.0);
  EXPECT_GT(after.brightX, after.centreX + 10.0);

  // A second drag adds another radian, from the orientation the first one left.
  Drag(wxPoint(0, y), wxPoint(size.x, y), 4);
  ExpectNear(camera.stored, AboutVertical(2.0));

  // Dragging down the full height tilts the facing side downwards: one radian about +Y.
  camera.Reset();
  Drag(wxPoint(size.x / 2, 0), wxPoint(size.x / 2, size.y), 4);
  ExpectNear(camera.stored, AboutHorizontal(1.0));
  const BallInPicture tilted = FindBall(ShownScene());
  EXPECT_GT(tilted.brightY, tilted.centreY + 10.0);
}

TEST_F(ViewCameraTest, PointerOverTheViewTakesTheFocusFromThePanelWithoutTurning) {
  const wxSize size = View3D().GetClientSize();
  const wxPoint press(size.x / 4, size.y / 2);
  PointerTo(View3D(), press);
  wxUIActionSimulator mouse;
  mouse.MouseDown();
  PumpEvents(40);
  wxWindow* button = Panel().FindWindow(IDC_LOAD_MESH);
  button->SetFocus();
  PumpEvents(40);
  ASSERT_EQ(wxWindow::FindFocus(), button);

  // The first move over the view only takes the focus, so that the wheel reaches the view.
  const int drawn = View3D().FramesDrawn();
  PointerTo(View3D(), press + wxPoint(size.x / 4, 0));
  EXPECT_EQ(wxWindow::FindFocus(), &View3D());
  EXPECT_EQ(View3D().Camera().shown, kIdentity);
  EXPECT_GT(View3D().FramesDrawn(), drawn);
  // The drag goes on from its press point.
  PointerTo(View3D(), press + wxPoint(size.x / 2, 0));
  ExpectNear(View3D().Camera().shown, AboutVertical(static_cast<double>(size.x / 2) / size.x));
  mouse.MouseUp();
  PumpEvents(40);
}

TEST_F(ViewCameraTest, WheelZoomsBetweenDistanceOneAndAHundred) {
  ViewCamera& camera = View3D().Camera();
  Wheel(120);
  EXPECT_FLOAT_EQ(camera.distance, 4.76f);
  for (int notch = 0; notch < 30; ++notch) Wheel(120);
  EXPECT_EQ(camera.distance, 1.0f);
  // Up close the near plane cuts through the ball, and the frame still draws.
  const int drawn = View3D().FramesDrawn();
  ShownScene();
  EXPECT_GT(View3D().FramesDrawn(), drawn);

  Wheel(-120);
  EXPECT_FLOAT_EQ(camera.distance, 1.24f);
  for (int notch = 0; notch < 500; ++notch) Wheel(-120);
  EXPECT_EQ(camera.distance, 100.0f);
  Wheel(-120 * 10);
  EXPECT_EQ(camera.distance, 100.0f);

  // From afar the ball is a small spot in the same place.
  const BallInPicture near = FindBall(m_start);
  const BallInPicture far = FindBall(ShownScene());
  ASSERT_GT(far.pixels, 0);
  EXPECT_LT(far.pixels * 100, near.pixels);
  EXPECT_NEAR(far.centreX, near.centreX, 2.0);
  EXPECT_NEAR(far.centreY, near.centreY, 2.0);
}

TEST_F(ViewCameraTest, SidewaysScrollingChangesNothing) {
  for (const int rotation : {120, -120, 1200, -1200}) Wheel(rotation, wxMOUSE_WHEEL_HORIZONTAL);
  EXPECT_EQ(View3D().Camera().distance, 5.0f);
  EXPECT_EQ(DifferingPixels(m_start, ShownScene()), 0);
}

TEST_F(ViewCameraTest, ArrowButtonsMoveTheModelAndTenStepsUpAndDownReturn) {
  const ViewCamera& camera = View3D().Camera();
  Press(IDC_MOVE_UP);
  const BallInPicture start = FindBall(m_start);
  const BallInPicture raised = FindBall(ShownScene());
  // A step of 0.1 at distance 5 under a 30 degree field of view is about a 27th of the height;
  // perspective moves the ball's outline a little less or more than its centre.
  const double step = m_start.GetHeight() * 0.1 / (2 * 5 * std::tan(std::numbers::pi / 12));
  EXPECT_NEAR(start.centreY - raised.centreY, step, step * 0.15);
  EXPECT_NEAR(raised.centreX, start.centreX, 1.0);

  for (int i = 1; i < 10; ++i) Press(IDC_MOVE_UP);
  EXPECT_NEAR(camera.pan.z, 1.0f, 1e-5f);
  for (int i = 0; i < 10; ++i) Press(IDC_MOVE_DOWN);
  EXPECT_NEAR(camera.pan.z, 0.0f, 1e-6f);

  Press(IDC_MOVE_RIGHT);
  Press(IDC_MOVE_RIGHT);
  Press(IDC_MOVE_LEFT);
  EXPECT_NEAR(camera.pan.y, 0.1f, 1e-6f);
  EXPECT_EQ(camera.pan.x, 0.0f);
  const BallInPicture right = FindBall(ShownScene());
  EXPECT_NEAR(right.centreX - start.centreX, step, step * 0.15);
  EXPECT_NEAR(right.centreY, start.centreY, 1.0);
}

TEST_F(ViewCameraTest, LightPadCentreResetsTheLightAndElsewhereAimsIt) {
  wxWindow* pad = Panel().FindWindow(IDC_LIGHT_POS);
  ASSERT_NE(pad, nullptr);
  // The pad is the form's lowest control: the panel scrolls down to it when the form is taller.
  Panel().Scroll(0, Panel().GetVirtualSize().y);
  PumpEvents(40);
  ASSERT_TRUE(Frame().GetScreenRect().Contains(pad->GetScreenRect()));
  const wxSize size = pad->GetClientSize();
  const wxPoint centre(size.x / 2, size.y / 2);
  std::array<float, 4>& light = View3D().Camera().light;

  // The top-left corner: light from the model's left and above.
  ClickLightPadAt(wxPoint(0, 0));
  EXPECT_EQ(light, (std::array<float, 4>{10.0f, -500.0f, 500.0f, 0.0f}));
  const BallInPicture lit = FindBall(ShownScene());
  EXPECT_LT(lit.brightX, lit.centreX - 10.0);
  EXPECT_LT(lit.brightY, lit.centreY - 10.0);

  // The centre and the pixels next to it (the 3 x 3 around it) put the light back by the camera.
  for (const wxPoint offset : {wxPoint(0, 0), wxPoint(1, 0), wxPoint(-1, 0), wxPoint(0, 1),
                               wxPoint(1, -1), wxPoint(-1, 1)}) {
    SCOPED_TRACE(testing::Message() << offset.x << ", " << offset.y);
    light = {10.0f, 123.0f, -45.0f, 0.0f};
    ClickLightPadAt(centre + offset);
    EXPECT_EQ(light, kStartLight);
  }

  // Two pixels away the click aims the light: to the right moves it to +Y, up raises it.
  ClickLightPadAt(centre + wxPoint(2, 0));
  EXPECT_NEAR(light[1], 1000.0 * (centre.x + 2 - size.x / 2.0) / size.x, 1e-3);
  EXPECT_GT(light[1], 0.0f);
  EXPECT_NEAR(light[2], -1000.0 * (centre.y - size.y / 2.0) / size.y, 1e-3);
  ClickLightPadAt(centre + wxPoint(0, -2));
  EXPECT_GT(light[2], 0.0f);
  EXPECT_EQ(light[0], 10.0f);
  EXPECT_EQ(light[3], 0.0f);
}

TEST_F(ViewCameraTest, CtrlNResetsTheCameraAndAMeshLoadKeepsIt) {
  ViewCamera& camera = View3D().Camera();
  camera.distance = 7.5f;
  camera.pan = Vec3{0.0f, 0.2f, -0.3f};
  camera.stored = TurnTiltRotation(1.0f, 0.5f);
  camera.shown = camera.stored;
  camera.light = {10.0f, -200.0f, 300.0f, 0.0f};
  const ViewCamera moved = camera;

  m_dialogs.Choose(WriteBallMesh(m_folder, "other.llm", 0.1f));
  Press(IDC_LOAD_MESH);
  PumpEvents(40);
  EXPECT_EQ(camera.distance, moved.distance);
  EXPECT_EQ(camera.pan.y, moved.pan.y);
  EXPECT_EQ(camera.pan.z, moved.pan.z);
  EXPECT_EQ(camera.stored, moved.stored);
  EXPECT_EQ(camera.shown, moved.shown);
  EXPECT_EQ(camera.light, moved.light);

  // Ctrl+N typed with the keyboard focus in the view.
  View3D().SetFocus();
  PumpEvents(40);
  wxUIActionSimulator().Char('N', wxMOD_CONTROL);
  PumpEvents(100);
  EXPECT_EQ(camera.distance, 5.0f);
  EXPECT_EQ(camera.pan.x, 0.0f);
  EXPECT_EQ(camera.pan.y, 0.0f);
  EXPECT_EQ(camera.pan.z, 0.0f);
  EXPECT_EQ(camera.stored, kIdentity);
  EXPECT_EQ(camera.shown, kIdentity);
  EXPECT_EQ(camera.light, kStartLight);
}

// The rows and columns of `image` that show something other than the grey background.
wxRect ShownExtent(const wxImage& image) {
  int left = image.GetWidth(), right = -1, top = image.GetHeight(), bottom = -1;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (image.GetRed(x, y) == 64 && image.GetGreen(x, y) == 64 && image.GetBlue(x, y) == 64) {
        continue;
      }
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? wxRect() : wxRect(wxPoint(left, top), wxPoint(right, bottom));
}

// A body six times as tall as it is wide: at the start-up camera it runs out of the view at the
// top and the bottom. The F key, and the Home key after a turn, frame all of it.
TEST_F(ViewCameraTest, FAndHomeFrameATallModelWhollyInsideTheView) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "tall.llm", 0.2f, 6.0f));
  Press(IDC_LOAD_MESH);
  const wxImage start = ShownScene();
  ASSERT_TRUE(start.IsOk());
  EXPECT_EQ(ShownExtent(start).height, start.GetHeight());

  ViewCamera& camera = View3D().Camera();
  const auto expectWhollyInside = [](const wxImage& shown) {
    const wxRect extent = ShownExtent(shown);
    EXPECT_GT(extent.y, 0);
    EXPECT_LT(extent.GetBottom(), shown.GetHeight() - 1);
    EXPECT_GT(extent.x, 0);
    EXPECT_LT(extent.GetRight(), shown.GetWidth() - 1);
    // Framed, not lost in the view: it takes most of its height or width.
    EXPECT_GT(std::max(double(extent.height) / shown.GetHeight(),
                       double(extent.width) / shown.GetWidth()),
              0.8);
  };
  // F works wherever the focus is in the window: here on a button of the panel.
  Panel().FindWindow(IDC_LOAD_MESH)->SetFocus();
  PumpEvents(40);
  wxUIActionSimulator().Char('f');
  PumpEvents(40);
  EXPECT_GT(camera.distance, 5.0f);
  EXPECT_EQ(camera.shown, kIdentity);
  expectWhollyInside(ShownScene());

  // Laid across the view and turned: Home frames it as it now lies, the orientation kept.
  const Quaternion across{std::sin(0.6f), 0.0f, 0.0f, std::cos(0.6f)};
  camera.stored = Multiply(TurnTiltRotation(0.5f, 0.3f), across);
  camera.shown = camera.stored;
  const Quaternion turned = camera.stored;
  View3D().SetFocus();
  PumpEvents(40);
  wxUIActionSimulator().Char(WXK_HOME);
  PumpEvents(40);
  EXPECT_EQ(camera.shown, turned);
  EXPECT_EQ(camera.light, kStartLight);
  expectWhollyInside(ShownScene());
}

// With framing on load (the default), the tall body shows whole at once, and the menu's check item
// turns it off for the next load, which keeps the camera.
TEST_F(ViewCameraTest, ALoadedMeshIsFramedUnlessTheCheckItemIsOff) {
  Panel().SetFrameOnLoad(true);
  m_dialogs.Choose(WriteBallMesh(m_folder, "tall.llm", 0.2f, 6.0f));
  Press(IDC_LOAD_MESH);
  const wxImage framed = ShownScene();
  ASSERT_TRUE(framed.IsOk());
  const wxRect extent = ShownExtent(framed);
  EXPECT_GT(extent.y, 0);
  EXPECT_LT(extent.GetBottom(), framed.GetHeight() - 1);

  Panel().RunViewMenuCommand(ID_VIEW_FRAME_ON_LOAD);
  EXPECT_FALSE(Panel().FrameOnLoad());
  EXPECT_FALSE(CTovmarView::FrameOnLoadInProfile());
  const ViewCamera before = View3D().Camera();
  m_dialogs.Choose(WriteBallMesh(m_folder, "small.llm", 0.1f));
  Press(IDC_LOAD_MESH);
  EXPECT_EQ(View3D().Camera().distance, before.distance);
  EXPECT_EQ(View3D().Camera().pan.z, before.pan.z);
}

}  // namespace
}  // namespace tovmar
