// tovmar-cli render on a machine whose EGL gives no context: the picture comes from a hidden
// window on the X display instead, the same as EGL draws it; with no display either, the run
// fails and says why each way failed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/DrawnPictures.h"
#include "tests/support/RunProcess.h"

namespace tovmar::test {
namespace {

// The X display the tests were started with, read before any test takes it away.
const std::optional<std::string> g_display = [] {
  const char* value = std::getenv("DISPLAY");
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}();

// libglvnd reads the EGL drivers it may load from this list; a missing file leaves it none.
constexpr const char* kEglDrivers = "__EGL_VENDOR_LIBRARY_FILENAMES";

// Sets or removes one environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    Set(value);
  }
  ~ScopedEnv() { Set(m_old); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      ::setenv(m_name, value->c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }
  const char* m_name;
  std::optional<std::string> m_old;
};

std::string SampleMesh() {
  return (std::filesystem::path(TOVMAR_SAMPLE_DIR) / "sample.llm").string();
}

ProcessResult RenderSample(const std::string& out) {
  return RunProcess(kCliPath, {"render", SampleMesh(), "--size", "160x120", "-o", out});
}

TEST(CliRenderFallback, WithoutEglAHiddenWindowDrawsTheSamePicture) {
  if (!g_display) GTEST_SKIP() << "needs an X display";
  TempFolder folder;
  const std::string viaEgl = folder.File("egl.png");
  const std::string viaWindow = folder.File("window.png");
  {
    const ScopedEnv noDisplay("DISPLAY", std::nullopt);
    const ProcessResult r = RenderSample(viaEgl);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
  }
  {
    const ScopedEnv display("DISPLAY", g_display);
    const ScopedEnv noEgl(kEglDrivers, folder.File("no-such-driver.json"));
    const ProcessResult r = RenderSample(viaWindow);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "");
  }

  const Picture egl = ReadPicture(viaEgl);
  const Picture window = ReadPicture(viaWindow);
  ASSERT_EQ(window.width, 160);
  ASSERT_EQ(window.height, 120);
  EXPECT_FALSE(DrawnBox(window).empty());
  int largest = 0;
  for (std::size_t i = 0; i < egl.rgb.size() && i < window.rgb.size(); ++i) {
    largest = std::max(largest, std::abs(int{egl.rgb[i]} - int{window.rgb[i]}));
  }
  EXPECT_LE(largest, 2);
}

TEST(CliRenderFallback, WithoutEglOrADisplayTheRunSaysWhyAndWritesNothing) {
  TempFolder folder;
  const ScopedEnv noDisplay("DISPLAY", std::nullopt);
  const ScopedEnv noWayland("WAYLAND_DISPLAY", std::nullopt);
  const ScopedEnv noEgl(kEglDrivers, folder.File("no-such-driver.json"));
  const ProcessResult r = RenderSample(folder.File("picture.png"));
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find("no OpenGL without a display"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("hidden window: no X display"), std::string::npos) << r.err;
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tovmar::test
