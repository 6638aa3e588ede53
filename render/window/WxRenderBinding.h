// Rendering contexts for the scene store made with wxGLContext on the view's canvas.
#pragma once

#include "mesh/RenderBinding.h"

namespace tovmar {

// The surface handed to the store is the wxGLCanvas being painted.
class WxRenderBinding : public RenderBinding {
 public:
  RenderContext CreateContext(RenderSurface surface, const PixelFormat& format) override;
  void MakeCurrent(RenderContext context, RenderSurface surface) override;
  void MakeNoneCurrent() override;
  void DeleteContext(RenderContext context) override;
};

}  // namespace tovmar
