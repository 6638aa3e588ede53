#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "panel/HPJumpFrame.h"
#include "tests/panel/TestFrame.h"
#include "tests/support/RecordingUrlOpener.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

constexpr Rgb kBlack{0, 0, 0};
// Longer than the desktop's double-click time (400 ms by default).
constexpr int kDoubleClickMs = 600;

// A picture of width x height pixels (blue, green, red, 0, top row first) in which every pixel
// of the top-left 100 x 40 has its own colour, derived from `seed`.
std::vector<std::uint8_t> MakePicture(int width, int height, int seed) {
  std::vector<std::uint8_t> bytes(std::size_t(width) * height * 4, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* pixel = &bytes[(std::size_t(y) * width + x) * 4];
      pixel[0] = static_cast<std::uint8_t>(seed);
      pixel[1] = static_cast<std::uint8_t>(y * 6 + 10);
      pixel[2] = static_cast<std::uint8_t>(x * 2 + 40);
    }
  }
  return bytes;
}

Rgb PicturePixel(int x, int y, int seed) {
  return {(x * 2 + 40) % 256, y * 6 + 10, seed};
}

class HPJumpFrameTest : public ShownFrameTest {
 protected:
  // A link button on the panel: 48 x 24 dialog units.
  HPJumpFrame* MakeLink(wxSize size = wxSize(96, 36)) {
    return new HPJumpFrame(m_panel, 1000, "URL1", wxPoint(10, 10), size);
  }

  // Presses at `press` and releases at `release`, then waits out the double-click time so that
  // the next press is a click of its own.
  static void Click(wxWindow* window, wxPoint press, wxPoint release) {
    wxUIActionSimulator mouse;
    mouse.MouseMove(window->ClientToScreen(press));
    PumpEvents(50);
    mouse.MouseDown();
    PumpEvents(50);
    mouse.MouseMove(window->ClientToScreen(release));
    PumpEvents(50);
    mouse.MouseUp();
    PumpEvents(kDoubleClickMs);
  }

  static void ExpectShowsPicture(const wxImage& shown, int width, int height, int seed) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        ASSERT_EQ(PixelAt(shown, x, y), PicturePixel(x, y, seed)) << "at " << x << ", " << y;
      }
    }
  }
};

TEST_F(HPJumpFrameTest, PaintsBlackWithoutPicture) {
  HPJumpFrame* link = MakeLink();
  EXPECT_TRUE(AllPixelsAre(PaintAndGrab(link), kBlack));
}

TEST_F(HPJumpFrameTest, SmallerControlShowsOnlyTheTopLeftOfThePicture) {
  HPJumpFrame* link = MakeLink(wxSize(48, 24));
  const std::vector<std::uint8_t> picture = MakePicture(84, 36, 50);
  ASSERT_TRUE(link->SetLink("https://a.example/", picture.data(), 84, 36));
  ExpectShowsPicture(PaintAndGrab(link), 48, 24, 50);
}

TEST_F(HPJumpFrameTest, LargerControlIsBlackBeyondThePicture) {
  HPJumpFrame* link = MakeLink(wxSize(100, 50));
  const std::vector<std::uint8_t> picture = MakePicture(84, 36, 50);
  ASSERT_TRUE(link->SetLink("https://a.example/", picture.data(), 84, 36));
  const wxImage shown = PaintAndGrab(link);
  ExpectShowsPicture(shown, 84, 36, 50);
  EXPECT_TRUE(AllPixelsAre(shown.GetSubImage(wxRect(84, 0, 16, 50)), kBlack));
  EXPECT_TRUE(AllPixelsAre(shown.GetSubImage(wxRect(0, 36, 100, 14)), kBlack));
}

TEST_F(HPJumpFrameTest, RefusedLinkKeepsPictureAndAddress) {
  RecordingUrlOpener opener;
  HPJumpFrame* link = MakeLink();
  const std::vector<std::uint8_t> first = MakePicture(84, 36, 50);
  const std::vector<std::uint8_t> wide = MakePicture(10001, 1, 200);
  ASSERT_TRUE(link->SetLink("https://first.example/", first.data(), 84, 36));

  EXPECT_FALSE(link->SetLink("https://refused.example/", wide.data(), 10001, 1));
  EXPECT_FALSE(link->SetLink("https://refused.example/", wide.data(), 1, 10001));
  EXPECT_FALSE(link->SetLink("https://refused.example/", wide.data(), 0, 1));
  EXPECT_FALSE(link->SetLink("https://refused.example/", nullptr, 84, 36));
  ExpectShowsPicture(PaintAndGrab(link), 84, 36, 50);
  Click(link, wxPoint(20, 20), wxPoint(20, 20));
  EXPECT_EQ(opener.urls, std::vector<std::string>{"https://first.example/"});
}

TEST_F(HPJumpFrameTest, LaterLinksReplacePictureAndAddress) {
  RecordingUrlOpener opener;
  HPJumpFrame* link = MakeLink();
  const std::vector<std::uint8_t> first = MakePicture(84, 36, 50);
  const std::vector<std::uint8_t> second = MakePicture(84, 36, 150);
  const std::vector<std::uint8_t> widest = MakePicture(10000, 1, 250);
  ASSERT_TRUE(link->SetLink("https://first.example/", first.data(), 84, 36));

  ASSERT_TRUE(link->SetLink("https://second.example/", second.data(), 84, 36));
  ExpectShowsPicture(PaintAndGrab(link), 84, 36, 150);
  Click(link, wxPoint(20, 20), wxPoint(20, 20));

  ASSERT_TRUE(link->SetLink("https://widest.example/", widest.data(), 10000, 1));
  const wxImage shown = PaintAndGrab(link);
  ExpectShowsPicture(shown, 96, 1, 250);
  EXPECT_EQ(PixelAt(shown, 0, 1), kBlack);
  Click(link, wxPoint(20, 20), wxPoint(20, 20));

  EXPECT_EQ(opener.urls,
            (std::vector<std::string>{"https://second.example/", "https://widest.example/"}));
}

TEST_F(HPJumpFrameTest, ClickOpensTheAddressOnlyWhenReleasedInside) {
  RecordingUrlOpener opener;
  HPJumpFrame* link = MakeLink();
  const std::vector<std::uint8_t> picture = MakePicture(84, 36, 50);
  ASSERT_TRUE(link->SetLink("https://tovmar.example.org/", picture.data(), 84, 36));
  PumpEvents(200);

  Click(link, wxPoint(30, 10), wxPoint(150, 10));
  EXPECT_TRUE(opener.urls.empty());
  Click(link, wxPoint(30, 10), wxPoint(35, 12));
  EXPECT_EQ(opener.urls, std::vector<std::string>{"https://tovmar.example.org/"});
}

TEST_F(HPJumpFrameTest, DoubleClickOpensTheAddressOnce) {
  RecordingUrlOpener opener;
  HPJumpFrame* link = MakeLink();
  const std::vector<std::uint8_t> picture = MakePicture(84, 36, 50);
  ASSERT_TRUE(link->SetLink("https://tovmar.example.org/", picture.data(), 84, 36));
  PumpEvents(200);

  wxUIActionSimulator mouse;
  mouse.MouseMove(link->ClientToScreen(wxPoint(30, 10)));
  PumpEvents(50);
  mouse.MouseDblClick();
  PumpEvents(kDoubleClickMs);
  EXPECT_EQ(opener.urls, std::vector<std::string>{"https://tovmar.example.org/"});
}

}  // namespace
}  // namespace tovmar
