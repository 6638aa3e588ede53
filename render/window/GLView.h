// The 3D view: the right-hand pane, which draws the scene store on every paint and turns,
// zooms and lights the model with the mouse and the panel's buttons.
#pragma once

#include <cstdint>

#include <wx/glcanvas.h>
#include <wx/timer.h>

#include "app/PaneWindow.h"
#include "render/Camera.h"

class wxImage;

namespace tovmar {

class SceneStore;

class GLView : public wxGLCanvas, public PaneWindow {
 public:
  static constexpr int kRedrawTimerId = 101;

  // The view draws `scene` and keeps its contexts there. The document's updates reach it as a
  // PaneWindow, through the view the main frame attaches.
  GLView(wxWindow* parent, SceneStore& scene);
  ~GLView() override;

  void OnInitialUpdate() override;
  void OnUpdate(wxView* sender, int hint, wxObject* object) override;

  // Moves the whole scene along the screen's horizontal (+Y) or vertical (+Z) axis.
  void PanHorizontal(float step);
  void PanVertical(float step);

  // Sets the eye's distance and the pan so that the whole visible model fits the view, the
  // orientation as it is, and redraws; the F and Home keys do this anywhere in the main window.
  // False, changing nothing, when nothing is shown or the view has no area.
  bool FrameModel();

  ViewCamera& Camera() { return m_camera; }
  std::int32_t ContextId() const { return m_contextId; }
  // How many paints have drawn the scene so far.
  int FramesDrawn() const { return m_framesDrawn; }

  // Draws one frame off screen in the view's context and reads it back, as the next paint at
  // this size would show it, one image pixel for each pixel of the drawing surface; an empty
  // image while the view has no context for its size.
  wxImage CaptureFrame();

 private:
  void OnPaint(wxPaintEvent& event);
  void OnEraseBackground(wxEraseEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnWheel(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  // The drag rotation for the pointer at `point`, composed after the stored orientation.
  Quaternion DraggedOrientation(const wxPoint& point) const;
  // The size of the OpenGL drawing surface in its own pixels. On a scaled display the window's
  // client size is given in logical units, of which each covers several surface pixels; the
  // viewport, the context and the frame read back all use the surface's pixels. Mouse positions
  // stay logical, and so does the camera's drag arithmetic.
  wxSize SurfaceSize() const;
  bool HasContextForSize(int width, int height) const;

  SceneStore& m_scene;
  std::int32_t m_contextId = -1;
  int m_framesDrawn = 0;
  ViewCamera m_camera;
  bool m_dragging = false;
  wxPoint m_pressPoint;
  wxPoint m_movePoint;
  wxPoint m_releasePoint;
  wxTimer m_redrawTimer;
};

}  // namespace tovmar
