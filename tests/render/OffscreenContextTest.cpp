// The context that draws without a display, in this process: sizes, row order, failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "render/GL.h"
#include "render/OffscreenContext.h"

namespace tovmar {
namespace {

class OffscreenContextTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }

  void SetUp() override {
    m_context = OffscreenContext::Create(m_error);
    ASSERT_NE(m_context, nullptr) << m_error;
  }

  std::unique_ptr<OffscreenContext> m_context;
  std::string m_error;
};

// Clears to blue, then the top-left width/2 x height/2 pixels (OpenGL counts rows from the
// bottom) to red.
void DrawRedTopLeft(int width, int height) {
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, height - height / 2, width / 2, height / 2);
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
}

TEST_F(OffscreenContextTest, PicturesComeBackTopRowFirstAtEverySize) {
  // Odd sizes, a size change in each direction, and the same size again.
  for (const std::pair<int, int>& size : {std::pair{6, 4}, {7, 3}, {2, 9}, {2, 9}, {1, 1}}) {
    const int w = size.first, h = size.second;
    std::vector<std::uint8_t> rgb;
    ASSERT_TRUE(m_context->Render(
        w, h, [&] { DrawRedTopLeft(w, h); }, rgb, m_error))
        << m_error;
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(w * h * 3));
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const bool red = x < w / 2 && y < h / 2;
        const std::size_t i = static_cast<std::size_t>(y * w + x) * 3;
        EXPECT_EQ(rgb[i], red ? 255 : 0) << w << "x" << h << " at " << x << "," << y;
        EXPECT_EQ(rgb[i + 1], 0);
        EXPECT_EQ(rgb[i + 2], red ? 0 : 255);
      }
    }
  }
}

TEST_F(OffscreenContextTest, RefusedSizesAndFailedDrawingsLeaveTheContextUsable) {
  std::vector<std::uint8_t> rgb = {1, 2, 3};
  int draws = 0;
  const auto count = [&] { ++draws; };
  for (const auto& [w, h] :
       {std::pair{0, 5}, {5, 0}, {-1, 5}, {OffscreenContext::kMaxSide + 1, 1}}) {
    m_error.clear();
    EXPECT_FALSE(m_context->Render(w, h, count, rgb, m_error));
    EXPECT_TRUE(rgb.empty());
    EXPECT_NE(m_error, "");
  }
  EXPECT_EQ(draws, 0);

  // A drawing that throws gives its message and no picture; nothing escapes the drawing thread.
  EXPECT_FALSE(m_context->Render(
      4, 4, [] { throw std::runtime_error("drawing broke"); }, rgb, m_error));
  EXPECT_EQ(m_error, "drawing broke");
  EXPECT_TRUE(rgb.empty());

  ASSERT_TRUE(m_context->Render(
      4, 4, [] { DrawRedTopLeft(4, 4); }, rgb, m_error))
      << m_error;
  EXPECT_EQ(rgb[0], 255);
  EXPECT_EQ(rgb[rgb.size() - 1], 255);
}

}  // namespace
}  // namespace tovmar
