#include <algorithm>

#include <gtest/gtest.h>

#include "panel/StaticFrame.h"
#include "tests/panel/TestFrame.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

constexpr Rgb kLightBlue{160, 200, 255};

// Where the dark (text) pixels of a label lie.
struct InkExtent {
  int count = 0;
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
  double CentreX() const { return (left + right) / 2.0; }
  double CentreY() const { return (top + bottom) / 2.0; }
  int Height() const { return bottom - top + 1; }
};

InkExtent FindInk(const wxImage& image) {
  InkExtent ink;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const Rgb pixel = PixelAt(image, x, y);
      if (pixel.red + pixel.green + pixel.blue >= 240) continue;
      ++ink.count;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

class StaticFrameTest : public ShownFrameTest {
 protected:
  StaticFrame* MakeLabel(const wxString& text, wxSize size) {
    return new StaticFrame(m_panel, 1008, text, wxPoint(10, 10), size);
  }
};

TEST_F(StaticFrameTest, DrawsItsLabelBlackAndCentredOnLightBlue) {
  StaticFrame* label = MakeLabel(wxString::FromUTF8("テクスチャ"), wxSize(96, 22));
  const wxImage shown = PaintAndGrab(label);
  EXPECT_EQ(PixelAt(shown, 0, 0), kLightBlue);
  EXPECT_EQ(PixelAt(shown, 95, 21), kLightBlue);
  EXPECT_EQ(PixelAt(shown, 2, 11), kLightBlue);

  const InkExtent ink = FindInk(shown);
  ASSERT_GT(ink.count, 30);
  EXPECT_NEAR(ink.CentreX(), 47.5, 2.0);
  EXPECT_NEAR(ink.CentreY(), 10.5, 3.0);
}

// The characters are 0.8 x the label's height at 96 dots per inch: a label twice as high has
// text about twice as high.
TEST_F(StaticFrameTest, TextGrowsWithTheLabelHeight) {
  StaticFrame* low = MakeLabel(wxString::FromUTF8("表示"), wxSize(96, 22));
  const InkExtent lowInk = FindInk(PaintAndGrab(low));
  low->SetSize(wxSize(200, 44));
  const InkExtent highInk = FindInk(PaintAndGrab(low));
  ASSERT_GT(lowInk.count, 0);
  EXPECT_GE(lowInk.Height(), 12);
  EXPECT_LE(lowInk.Height(), 20);
  EXPECT_NEAR(double(highInk.Height()) / lowInk.Height(), 2.0, 0.3);
}

TEST_F(StaticFrameTest, NewLabelShowsWithoutBeingRefreshed) {
  StaticFrame* label = MakeLabel("", wxSize(96, 22));
  EXPECT_TRUE(AllPixelsAre(PaintAndGrab(label), kLightBlue));
  label->SetLabel(wxString::FromUTF8("LLM メッシュ"));
  PumpEvents(300);
  EXPECT_GT(FindInk(GrabWindow(label)).count, 30);
}

}  // namespace
}  // namespace tovmar
