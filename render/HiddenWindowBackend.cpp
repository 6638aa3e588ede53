// Contexts on a window that is never shown, for machines whose EGL gives no context but whose X
// display does (an EGL library without a driver for the display's device, for instance). The
// picture goes into a framebuffer object all the same: the window only carries the context, and
// its own pixels, which nobody sees, are never drawn.
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>

#include "render/OffscreenBackend.h"

namespace tovmar {

namespace {

// The X protocol errors raised while the window and its context are made. Xlib's own handler
// would end the process on the first one.
int g_xErrors = 0;

int CountXError(Display*, XErrorEvent*) {
  ++g_xErrors;
  return 0;
}

// Counts the X errors of the requests made during its life instead of ending the process on them.
class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display)
      : m_display(display), m_previous(XSetErrorHandler(CountXError)) {
    g_xErrors = 0;
  }
  ~XErrorTrap() { XSetErrorHandler(m_previous); }
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Whether any request so far failed, once the server has answered them all.
  bool Failed() {
    XSync(m_display, False);
    return g_xErrors > 0;
  }

 private:
  Display* m_display;
  int (*m_previous)(Display*, XErrorEvent*);
};

class HiddenWindowBackend : public OffscreenBackend {
 public:
  explicit HiddenWindowBackend(Display* display) : m_display(display) {}
  // What a failed Open left half made may be refused by the server; that ends nothing.
  ~HiddenWindowBackend() override {
    {
      XErrorTrap trap(m_display);
      if (m_context != nullptr) glXDestroyContext(m_display, m_context);
      if (m_window != 0) XDestroyWindow(m_display, m_window);
      if (m_colormap != 0) XFreeColormap(m_display, m_colormap);
      trap.Failed();
    }
  }
  HiddenWindowBackend(const HiddenWindowBackend&) = delete;
  HiddenWindowBackend& operator=(const HiddenWindowBackend&) = delete;

  // Makes the window and its context, sharing the textures of `share` unless it is null; false
  // with `why` set when the display cannot.
  bool Open(GLXContext share, std::string& why);

  bool MakeCurrent(std::string& error) override {
    if (glXMakeCurrent(m_display, m_window, m_context) == True) return true;
    error = "cannot make the hidden window's OpenGL context current";
    return false;
  }
  void Release() override { glXMakeCurrent(m_display, None, nullptr); }
  void* ProcAddress(const char* name) override {
    return reinterpret_cast<void*>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)));
  }
  std::unique_ptr<OffscreenBackend> CreateSharing(std::string& why) override {
    auto backend = std::make_unique<HiddenWindowBackend>(m_display);
    if (!backend->Open(m_context, why)) return nullptr;
    return backend;
  }

 private:
  Display* m_display;
  Colormap m_colormap = 0;
  Window m_window = 0;
  GLXContext m_context = nullptr;
};

bool HiddenWindowBackend::Open(GLXContext share, std::string& why) {
  int errorBase = 0;
  int eventBase = 0;
  if (glXQueryExtension(m_display, &errorBase, &eventBase) != True) {
    why = "the X display offers no OpenGL";
    return false;
  }
  int attributes[] = {GLX_RGBA, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
  const int screen = DefaultScreen(m_display);
  XVisualInfo* visual = glXChooseVisual(m_display, screen, attributes);
  if (visual == nullptr) {
    why = "the X display has no OpenGL visual";
    return false;
  }

  // A 1 x 1 window that is never mapped; a context made without profile attributes is a
  // compatibility one, so the fixed-function drawing runs on it.
  XErrorTrap trap(m_display);
  const Window root = RootWindow(m_display, screen);
  m_colormap = XCreateColormap(m_display, root, visual->visual, AllocNone);
  XSetWindowAttributes windowAttributes{};
  windowAttributes.colormap = m_colormap;
  windowAttributes.border_pixel = 0;
  m_window = XCreateWindow(m_display, root, 0, 0, 1, 1, 0, visual->depth, InputOutput,
                           visual->visual, CWColormap | CWBorderPixel, &windowAttributes);
  m_context = glXCreateContext(m_display, visual, share, True);
  XFree(visual);
  if (trap.Failed() || m_context == nullptr) {
    why = "the X display refused an OpenGL window";
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<OffscreenBackend> CreateHiddenWindowBackend(std::string& why) {
  // The connection stays open until the process ends, as EGL's displays do: closing it unloads
  // Mesa's driver only to load it again for the next context.
  static Display* const display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    why = "no X display";
    return nullptr;
  }
  auto backend = std::make_unique<HiddenWindowBackend>(display);
  if (!backend->Open(nullptr, why)) return nullptr;
  return backend;
}

}  // namespace tovmar
