// The platform's OpenGL binding as the scene store uses it: create a rendering context for a
// window surface, make one current, delete one.
#pragma once

namespace tovmar {

// The pixel format every context is asked for.
struct PixelFormat {
  int colorBits = 24;
  int depthBits = 32;
  bool doubleBuffered = true;
  bool rgba = true;
};

// Opaque handles: the binding decides what they point to.
using RenderContext = void*;
using RenderSurface = void*;

class RenderBinding {
 public:
  virtual ~RenderBinding() = default;
  virtual RenderContext CreateContext(RenderSurface surface, const PixelFormat& format) = 0;
  virtual void MakeCurrent(RenderContext context, RenderSurface surface) = 0;
  virtual void MakeNoneCurrent() = 0;
  virtual void DeleteContext(RenderContext context) = 0;
};

}  // namespace tovmar
