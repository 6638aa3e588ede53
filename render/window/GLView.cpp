#include "render/window/GLView.h"

#include <algorithm>
#include <vector>

#include <wx/dcclient.h>
#include <wx/image.h>

#include "mesh/SceneStore.h"
#include "render/DrawScene.h"
#include "render/GL.h"
#include "render/ShownPositions.h"

namespace tovmar {

namespace {

// Double-buffered RGBA with 24 colour bits and a 32-bit depth buffer, or 24 bits of depth
// where 32 is refused.
wxGLAttributes CanvasAttributes() {
  for (const int depth : {32, 24}) {
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().MinRGBA(8, 8, 8, 0).DoubleBuffer().Depth(depth).EndList();
    if (wxGLCanvas::IsDisplaySupported(attributes)) return attributes;
  }
  wxGLAttributes fallback;
  fallback.PlatformDefaults().Defaults().EndList();
  return fallback;
}

}  // namespace

GLView::GLView(wxWindow* parent, SceneStore& scene)
    : wxGLCanvas(parent, CanvasAttributes(), wxID_ANY, wxDefaultPosition, wxSize(100, 100),
                 wxCLIP_CHILDREN | wxCLIP_SIBLINGS | wxWANTS_CHARS),
      m_scene(scene),
      m_redrawTimer(this, kRedrawTimerId) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &GLView::OnPaint, this);
  Bind(wxEVT_ERASE_BACKGROUND, &GLView::OnEraseBackground, this);
  Bind(wxEVT_SIZE, &GLView::OnSize, this);
  Bind(wxEVT_TIMER, &GLView::OnTimer, this, kRedrawTimerId);
  Bind(wxEVT_LEFT_DOWN, &GLView::OnLeftDown, this);
  Bind(wxEVT_MOTION, &GLView::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &GLView::OnLeftUp, this);
  Bind(wxEVT_MOUSEWHEEL, &GLView::OnWheel, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &GLView::OnCaptureLost, this);
}

GLView::~GLView() {
  if (HasCapture()) ReleaseMouse();
}

void GLView::OnInitialUpdate() {
  Refresh(true);
  m_camera.Reset();
}

void GLView::OnUpdate(wxView*, int, wxObject*) {
  Refresh(true);
}

void GLView::PanHorizontal(float step) {
  m_camera.pan.y += step;
}

void GLView::PanVertical(float step) {
  m_camera.pan.z += step;
}

bool GLView::FrameModel() {
  const wxSize size = GetClientSize();
  if (size.x <= 0 || size.y <= 0) return false;
  const std::vector<Vec3> shown = ShownPositions(m_scene, m_camera.shown);
  if (!FramePoints(m_camera, shown, static_cast<float>(size.x) / static_cast<float>(size.y))) {
    return false;
  }
  Refresh(false);
  return true;
}

bool GLView::HasContextForSize(int width, int height) const {
  const auto& rows = m_scene.Contexts();
  return std::any_of(rows.begin(), rows.end(), [&](const GLContextEntry& row) {
    return row.id == m_contextId && row.width == width && row.height == height;
  });
}

wxSize GLView::SurfaceSize() const {
  return ToPhys(GetClientSize());
}

void GLView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = SurfaceSize();
  if (size.x <= 0 || size.y <= 0) return;
  // A paint that has to create or replace the context draws nothing; the redraw timer's
  // paint that follows every size change is the first to show the scene. A change of the
  // display's scale alters the surface without a size event, so such a paint starts the timer
  // itself when none is pending.
  const bool drawable = HasContextForSize(size.x, size.y);
  m_contextId = m_scene.MakeContextCurrent(m_contextId, size.x, size.y, this);
  if (!drawable) {
    if (!m_redrawTimer.IsRunning()) m_redrawTimer.StartOnce(10);
    return;
  }
  DrawScene(m_camera, size.x, size.y, m_scene);
  glFlush();
  SwapBuffers();
  ++m_framesDrawn;
}

wxImage GLView::CaptureFrame() {
  const wxSize size = SurfaceSize();
  if (size.x <= 0 || size.y <= 0 || !HasContextForSize(size.x, size.y)) return wxImage();
  m_scene.MakeContextCurrent(m_contextId, size.x, size.y, this);
  DrawScene(m_camera, size.x, size.y, m_scene);
  glFinish();
  std::vector<unsigned char> rgb(static_cast<std::size_t>(size.x) * size.y * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, size.x, size.y, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  wxImage image(size.x, size.y);
  // OpenGL rows run bottom-up; the image's top-down.
  const std::size_t stride = static_cast<std::size_t>(size.x) * 3;
  for (int row = 0; row < size.y; ++row) {
    std::copy_n(rgb.data() + stride * (size.y - 1 - row), stride, image.GetData() + stride * row);
  }
  return image;
}

void GLView::OnEraseBackground(wxEraseEvent&) {
  // The scene covers the whole client area.
}

void GLView::OnSize(wxSizeEvent& event) {
  event.Skip();
  m_redrawTimer.StartOnce(10);
}

void GLView::OnTimer(wxTimerEvent&) {
  Refresh(false);
}

Quaternion GLView::DraggedOrientation(const wxPoint& point) const {
  const wxSize size = GetClientSize();
  const Quaternion d = DragRotation(point.x - m_pressPoint.x, point.y - m_pressPoint.y,
                                    std::max(size.x, 1), std::max(size.y, 1));
  return Multiply(d, m_camera.stored);
}

void GLView::OnLeftDown(wxMouseEvent& event) {
  m_pressPoint = event.GetPosition();
  if (!m_dragging) {
    CaptureMouse();
    m_dragging = true;
  }
  event.Skip();
}

void GLView::OnMotion(wxMouseEvent& event) {
  m_movePoint = event.GetPosition();
  // Focus in another window of the program moves to the view, so the wheel reaches it; that
  // move does not turn the model.
  wxWindow* focus = wxWindow::FindFocus();
  if (focus != nullptr && focus != this) {
    SetFocus();
    Refresh(false);
    return;
  }
  if (m_dragging) {
    m_camera.shown = DraggedOrientation(m_movePoint);
    Refresh(false);
  }
  event.Skip();
}

void GLView::OnLeftUp(wxMouseEvent& event) {
  m_releasePoint = event.GetPosition();
  if (m_dragging) {
    m_camera.stored = DraggedOrientation(m_releasePoint);
    m_camera.shown = m_camera.stored;
    if (HasCapture()) ReleaseMouse();
    m_dragging = false;
  }
  Refresh(false);
  event.Skip();
}

void GLView::OnWheel(wxMouseEvent& event) {
  // Only the vertical axis zooms: a touchpad's sideways swipe or a tilted wheel changes nothing.
  if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) {
    event.Skip();
    return;
  }
  // Wheels that report other units are converted to 120 per notch first.
  const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
  const int rotation = event.GetWheelRotation() * 120 / delta;
  m_camera.distance = ZoomedDistance(m_camera.distance, rotation);
  Refresh(false);
  event.Skip();
}

void GLView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  // The drag goes on until the next left-button release.
}

}  // namespace tovmar
