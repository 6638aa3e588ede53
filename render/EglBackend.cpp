// Contexts without any display or surface, through EGL.
//
// EGL rather than OSMesa: OSMesa exports gl* entry points of its own, which clash with those of
// libGL once both are loaded into one process (the application and its window tests link libGL),
// so each call would land in whichever library the loader bound first. Through EGL the gl* calls
// of libGL and GLU go, by libglvnd's dispatch, to whichever context is current on the calling
// thread, GLX or EGL alike, so the drawing code of the 3D view runs here unchanged.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <string>
#include <vector>

#include "render/ExtensionList.h"
#include "render/OffscreenBackend.h"

namespace tovmar {

namespace {

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

// A desktop OpenGL context with no surface on an initialised display, sharing the textures of
// `share` unless that is EGL_NO_CONTEXT, or EGL_NO_CONTEXT with the reason in `why`.
EGLContext OpenContext(EGLDisplay display, EGLint major, EGLint minor, EGLContext share,
                       std::string& why) {
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
      eglCreateContext(display, config, share, profiles ? compatibility : nullptr);
  if (context == EGL_NO_CONTEXT) why = "refused an OpenGL context (" + EglErrorText() + ")";
  return context;
}

class EglBackend : public OffscreenBackend {
 public:
  EglBackend(EGLDisplay display, EGLint major, EGLint minor, EGLContext context)
      : m_display(display), m_major(major), m_minor(minor), m_context(context) {}
  // Destroying a context that no thread holds frees its framebuffers with it. The display stays
  // initialised until the process ends: EGL displays are process-wide and eglTerminate is not
  // counted, so terminating one would pull it from under any other context on it, and Mesa would
  // unload its driver only to load it again for the next context.
  ~EglBackend() override { eglDestroyContext(m_display, m_context); }
  EglBackend(const EglBackend&) = delete;
  EglBackend& operator=(const EglBackend&) = delete;

  bool MakeCurrent(std::string& error) override {
    eglBindAPI(EGL_OPENGL_API);
    if (eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) == EGL_TRUE) {
      return true;
    }
    error = "cannot make the OpenGL context current (" + EglErrorText() + ")";
    return false;
  }
  void Release() override {
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  void EndThread() override { eglReleaseThread(); }
  void* ProcAddress(const char* name) override {
    return reinterpret_cast<void*>(eglGetProcAddress(name));
  }
  std::unique_ptr<OffscreenBackend> CreateSharing(std::string& why) override {
    const EGLContext context = OpenContext(m_display, m_major, m_minor, m_context, why);
    if (context == EGL_NO_CONTEXT) return nullptr;
    return std::make_unique<EglBackend>(m_display, m_major, m_minor, context);
  }

 private:
  EGLDisplay m_display;
  EGLint m_major;
  EGLint m_minor;
  EGLContext m_context;
};

}  // namespace

std::unique_ptr<OffscreenBackend> CreateEglBackend(std::string& why) {
  std::string reasons;
  for (const Candidate& candidate : CandidateDisplays()) {
    std::string reason;
    EGLint major = 0;
    EGLint minor = 0;
    if (candidate.display == EGL_NO_DISPLAY) {
      reason = "not available";
    } else if (eglInitialize(candidate.display, &major, &minor) != EGL_TRUE) {
      reason = "cannot be initialised (" + EglErrorText() + ")";
    } else {
      const EGLContext context =
          OpenContext(candidate.display, major, minor, EGL_NO_CONTEXT, reason);
      if (context != EGL_NO_CONTEXT)
        return std::make_unique<EglBackend>(candidate.display, major, minor, context);
    }
    reasons += (reasons.empty() ? "" : "; ") + candidate.label + ": " + reason;
  }
  why = reasons;
  return nullptr;
}

}  // namespace tovmar
