// Drawing without a display through EGL, into a framebuffer object.
//
// EGL rather than OSMesa: OSMesa exports gl* entry points of its own, which clash with those of
// libGL once both are loaded into one process (the application and its window tests link libGL),
// so each call would land in whichever library the loader bound first. Through EGL the gl* calls
// of libGL and GLU go, by libglvnd's dispatch, to whichever context is current on the calling
// thread, GLX or EGL alike, so the drawing code of the 3D view runs here unchanged.
//
// libglvnd lets a thread hold a context of only one window-system API at a time: while a GLX
// context is current, eglMakeCurrent fails. Each picture is therefore drawn on a short-lived
// thread of its own, which also leaves the caller's current context untouched.
#include "render/OffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>

#include "render/GL.h"

// The framebuffer object names and entry point types, which OpenGL 1.1 lacks.
#include <GL/glext.h>

namespace tovmar {

namespace {

// Whether a space-separated extension list names `word`.
bool HasExtension(const char* list, std::string_view word) {
  if (list == nullptr) return false;
  std::string_view rest(list);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find(' '), rest.size());
    if (rest.substr(0, end) == word) return true;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return false;
}

std::string EglErrorText() {
  char text[32];
  std::snprintf(text, sizeof text, "EGL error 0x%04X", static_cast<unsigned>(eglGetError()));
  return text;
}

struct Candidate {
  EGLDisplay display = EGL_NO_DISPLAY;
  std::string label;
};

// The displays to try, in order: the surfaceless platform, each device, the default display.
std::vector<Candidate> CandidateDisplays() {
  std::vector<Candidate> candidates;
  // Client extensions; null when the EGL library has none.
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  PFNEGLGETPLATFORMDISPLAYEXTPROC getPlatformDisplay = nullptr;
  if (HasExtension(client, "EGL_EXT_platform_base")) {
    getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
  }

  if (getPlatformDisplay != nullptr && HasExtension(client, "EGL_MESA_platform_surfaceless")) {
    const EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    candidates.push_back({display, "surfaceless platform"});
  }

  if (getPlatformDisplay != nullptr && HasExtension(client, "EGL_EXT_platform_device") &&
      (HasExtension(client, "EGL_EXT_device_enumeration") ||
       HasExtension(client, "EGL_EXT_device_base"))) {
    const auto queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    EGLDeviceEXT devices[16];
    EGLint count = 0;
    if (queryDevices != nullptr && queryDevices(16, devices, &count) == EGL_TRUE) {
      for (EGLint i = 0; i < count; ++i) {
        const EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
        candidates.push_back({display, "device " + std::to_string(i)});
      }
    }
  }

  candidates.push_back({eglGetDisplay(EGL_DEFAULT_DISPLAY), "default display"});
  return candidates;
}

// A desktop OpenGL context with no surface on an initialised display, or EGL_NO_CONTEXT with
// the reason in `why`.
EGLContext OpenContext(EGLDisplay display, EGLint major, EGLint minor, std::string& why) {
  const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
  if (!HasExtension(extensions, "EGL_KHR_surfaceless_context")) {
    why = "cannot draw without a surface";
    return EGL_NO_CONTEXT;
  }
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
    why = "offers no desktop OpenGL";
    return EGL_NO_CONTEXT;
  }

  // Without a surface no configuration is needed where the display allows that.
  EGLConfig config = EGL_NO_CONFIG_KHR;
  if (!HasExtension(extensions, "EGL_KHR_no_config_context") &&
      !HasExtension(extensions, "EGL_MESA_configless_context")) {
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, 0, EGL_NONE};
    EGLint count = 0;
    if (eglChooseConfig(display, wanted, &config, 1, &count) != EGL_TRUE || count < 1) {
      why = "has no OpenGL configuration";
      return EGL_NO_CONTEXT;
    }
  }

  // The compatibility profile keeps the fixed-function pipeline; where profiles cannot be asked
  // for, every context has it.
  const bool profiles =
      major > 1 || minor >= 5 || HasExtension(extensions, "EGL_KHR_create_context");
  const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK_KHR,
                                  EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT_KHR, EGL_NONE};
  const EGLContext context =
      eglCreateContext(display, config, EGL_NO_CONTEXT, profiles ? compatibility : nullptr);
  if (context == EGL_NO_CONTEXT) why = "refused an OpenGL context (" + EglErrorText() + ")";
  return context;
}

// The framebuffer object entry points: OpenGL 3.0's, or those of GL_EXT_framebuffer_object
// under their EXT names (same arguments, same enumerants).
struct FramebufferFunctions {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
};

template <typename Function>
bool LoadFunction(Function& function, const std::string& name) {
  function = reinterpret_cast<Function>(eglGetProcAddress(name.c_str()));
  return function != nullptr;
}

// Finds the entry points in the current context; false with `error` set when it has none.
bool LoadFramebufferFunctions(FramebufferFunctions& f, std::string& error) {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  const long major = version != nullptr ? std::strtol(version, nullptr, 10) : 0;
  std::string suffix;
  if (major < 3 && !HasExtension(extensions, "GL_ARB_framebuffer_object")) {
    if (!HasExtension(extensions, "GL_EXT_framebuffer_object")) {
      error = std::string("OpenGL ") + (version != nullptr ? version : "?") +
              " has no framebuffer objects";
      return false;
    }
    suffix = "EXT";
  }
  if (LoadFunction(f.genFramebuffers, "glGenFramebuffers" + suffix) &&
      LoadFunction(f.bindFramebuffer, "glBindFramebuffer" + suffix) &&
      LoadFunction(f.genRenderbuffers, "glGenRenderbuffers" + suffix) &&
      LoadFunction(f.bindRenderbuffer, "glBindRenderbuffer" + suffix) &&
      LoadFunction(f.renderbufferStorage, "glRenderbufferStorage" + suffix) &&
      LoadFunction(f.framebufferRenderbuffer, "glFramebufferRenderbuffer" + suffix) &&
      LoadFunction(f.checkFramebufferStatus, "glCheckFramebufferStatus" + suffix)) {
    return true;
  }
  error = "the framebuffer object functions are missing";
  return false;
}

// Clears OpenGL's error flags, of which an implementation may hold several.
void ClearGlErrors() {
  int flags = 0;
  while (glGetError() != GL_NO_ERROR && ++flags < 16) continue;
}

// Turns rows that run bottom-up into rows that run top-down.
void FlipRows(std::vector<std::uint8_t>& rgb, std::size_t stride, int height) {
  for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(rgb.begin() + static_cast<std::ptrdiff_t>(stride * top),
                     rgb.begin() + static_cast<std::ptrdiff_t>(stride * (top + 1)),
                     rgb.begin() + static_cast<std::ptrdiff_t>(stride * bottom));
  }
}

}  // namespace

struct OffscreenContext::State {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLContext context = EGL_NO_CONTEXT;
  // Filled by the first picture, when the context is current for the first time.
  bool functionsLoaded = false;
  FramebufferFunctions gl;
  GLuint framebuffer = 0;
  GLuint color = 0;
  GLuint depth = 0;
  // The size the renderbuffers hold storage for; 0 x 0 before the first picture and after a
  // failed one.
  int width = 0;
  int height = 0;

  // Binds the framebuffer, with storage for width x height made when the size changed.
  bool BindFramebuffer(int newWidth, int newHeight, std::string& error);
};

bool OffscreenContext::State::BindFramebuffer(int newWidth, int newHeight, std::string& error) {
  GLint maxRenderbuffer = 0;
  GLint maxViewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
  const int limit = std::min({maxRenderbuffer, maxViewport[0], maxViewport[1]});
  if (newWidth > limit || newHeight > limit) {
    error = "this OpenGL draws pictures of at most " + std::to_string(limit) + " pixels a side";
    return false;
  }

  if (framebuffer == 0) {
    gl.genFramebuffers(1, &framebuffer);
    gl.genRenderbuffers(1, &color);
    gl.genRenderbuffers(1, &depth);
  }
  gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  if (newWidth == width && newHeight == height) return true;

  // New storage for the new size, attached again, then checked.
  width = 0;
  height = 0;
  ClearGlErrors();
  gl.bindRenderbuffer(GL_RENDERBUFFER, color);
  gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, newWidth, newHeight);
  gl.bindRenderbuffer(GL_RENDERBUFFER, depth);
  gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, newWidth, newHeight);
  gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
  const GLenum failure = glGetError();
  const GLenum status = gl.checkFramebufferStatus(GL_FRAMEBUFFER);
  if (failure != GL_NO_ERROR || status != GL_FRAMEBUFFER_COMPLETE) {
    char text[96];
    std::snprintf(text, sizeof text, "cannot make a %dx%d framebuffer (OpenGL error 0x%04X)",
                  newWidth, newHeight, failure != GL_NO_ERROR ? failure : status);
    error = text;
    return false;
  }
  width = newWidth;
  height = newHeight;
  return true;
}

OffscreenContext::OffscreenContext(std::unique_ptr<State> state) : m_state(std::move(state)) {}

OffscreenContext::~OffscreenContext() {
  // Destroying a context that no thread holds frees its framebuffer and renderbuffers with it.
  eglDestroyContext(m_state->display, m_state->context);
}

std::unique_ptr<OffscreenContext> OffscreenContext::Create(std::string& error) {
  // A display, once initialised, stays so until the process ends: EGL displays are process-wide
  // and eglTerminate is not counted, so terminating one would pull it from under any other
  // context on it, and Mesa would unload its driver only to load it again for the next context.
  std::string reasons;
  for (const Candidate& candidate : CandidateDisplays()) {
    std::string why;
    EGLint major = 0;
    EGLint minor = 0;
    if (candidate.display == EGL_NO_DISPLAY) {
      why = "not available";
    } else if (eglInitialize(candidate.display, &major, &minor) != EGL_TRUE) {
      why = "cannot be initialised (" + EglErrorText() + ")";
    } else {
      const EGLContext context = OpenContext(candidate.display, major, minor, why);
      if (context != EGL_NO_CONTEXT) {
        auto state = std::make_unique<State>();
        state->display = candidate.display;
        state->context = context;
        return std::unique_ptr<OffscreenContext>(new OffscreenContext(std::move(state)));
      }
    }
    reasons += (reasons.empty() ? "" : "; ") + candidate.label + ": " + why;
  }
  error = "no OpenGL without a display (" + reasons + ")";
  return nullptr;
}

bool OffscreenContext::Render(int width, int height, const std::function<void()>& draw,
                              std::vector<std::uint8_t>& rgb, std::string& error) {
  rgb.clear();
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
    error = "a picture is 1 to " + std::to_string(kMaxSide) + " pixels a side, not " +
            std::to_string(width) + "x" + std::to_string(height);
    return false;
  }
  bool drawn = false;
  try {
    std::thread worker([&] {
      drawn = RenderOnThisThread(width, height, draw, rgb, error);
      // The thread's EGL state goes with the thread.
      eglReleaseThread();
    });
    worker.join();
  } catch (const std::system_error& e) {
    error = std::string("cannot start the drawing thread: ") + e.what();
    return false;
  }
  if (!drawn) rgb.clear();
  return drawn;
}

bool OffscreenContext::RenderOnThisThread(int width, int height, const std::function<void()>& draw,
                                          std::vector<std::uint8_t>& rgb, std::string& error) {
  State& s = *m_state;
  eglBindAPI(EGL_OPENGL_API);
  if (eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, s.context) != EGL_TRUE) {
    error = "cannot make the OpenGL context current (" + EglErrorText() + ")";
    return false;
  }

  bool drawn = false;
  if (!s.functionsLoaded) s.functionsLoaded = LoadFramebufferFunctions(s.gl, error);
  if (s.functionsLoaded && s.BindFramebuffer(width, height, error)) {
    try {
      // Room for the picture first, so that a size too large for memory draws nothing.
      const std::size_t stride = static_cast<std::size_t>(width) * 3;
      rgb.resize(stride * static_cast<std::size_t>(height));
      glDrawBuffer(GL_COLOR_ATTACHMENT0);
      glReadBuffer(GL_COLOR_ATTACHMENT0);
      draw();
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
      FlipRows(rgb, stride, height);
      drawn = true;
    } catch (const std::bad_alloc&) {
      error = "not enough memory for a " + std::to_string(width) + "x" + std::to_string(height) +
              " picture";
    } catch (const std::exception& e) {
      // Nothing may leave the thread: it would end the process.
      error = e.what();
    }
    s.gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  }

  eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  return drawn;
}

}  // namespace tovmar
