#include "render/window/WxRenderBinding.h"

#include <wx/glcanvas.h>

namespace tovmar {

namespace {
wxGLCanvas* Canvas(RenderSurface surface) {
  return static_cast<wxGLCanvas*>(surface);
}
wxGLContext* Context(RenderContext context) {
  return static_cast<wxGLContext*>(context);
}
}  // namespace

RenderContext WxRenderBinding::CreateContext(RenderSurface surface, const PixelFormat&) {
  // The pixel format belongs to the canvas, which asked for it when it was created.
  return new wxGLContext(Canvas(surface));
}

void WxRenderBinding::MakeCurrent(RenderContext context, RenderSurface surface) {
  Context(context)->SetCurrent(*Canvas(surface));
}

void WxRenderBinding::MakeNoneCurrent() {
  // wxWidgets has no call for this; a wxGLContext releases itself when it is deleted while
  // current, which is the only time the store asks.
}

void WxRenderBinding::DeleteContext(RenderContext context) {
  delete Context(context);
}

}  // namespace tovmar
