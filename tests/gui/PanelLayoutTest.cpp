// The control panel as a user first sees it: the whole form in the window, section labels whose
// captions are whole, captions inside their controls, picture links that are exactly their
// pictures, a panel that scrolled on a small screen back at the top when it grows, and the
// window's icon.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <unistd.h>

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

#include <gtest/gtest.h>

#include "panel/ControlIds.h"
#include "panel/HPJumpFrame.h"
#include "panel/LinkAddresses.h"
#include "resources/LinkPictures.h"
#include "tests/gui/AppAccess.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
  int Sum() const { return red + green + blue; }
};

Rgb PixelAt(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

constexpr Rgb kLabelBlue{160, 200, 255};
constexpr Rgb kMidGrey{128, 128, 128};
constexpr Rgb kLightGrey{192, 192, 192};

// The smallest rectangle around the pixels of `image` darker than `darkSum` (red + green +
// blue): text, where the rest is light.
wxRect InkExtent(const wxImage& image, int darkSum) {
  int left = image.GetWidth(), right = -1, top = image.GetHeight(), bottom = -1;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (PixelAt(image, x, y).Sum() >= darkSum) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? wxRect() : wxRect(wxPoint(left, top), wxPoint(right, bottom));
}

// What control `id` of the panel shows on the screen after a repaint.
wxImage Shown(int id) {
  wxWindow* control = Panel().FindWindow(id);
  control->Refresh();
  PumpEvents(150);
  return GrabWindow(control);
}

// How many pixels of `shown` differ from the 84 x 36 link picture (blue, green, red, 0); all of
// them when `shown` is not of the picture's size.
int DifferingFromPicture(const wxImage& shown, const std::vector<std::uint8_t>& picture) {
  if (shown.GetSize() != wxSize(kLinkPictureWidth, kLinkPictureHeight)) {
    return kLinkPictureWidth * kLinkPictureHeight;
  }
  int differing = 0;
  for (int y = 0; y < kLinkPictureHeight; ++y) {
    for (int x = 0; x < kLinkPictureWidth; ++x) {
      const std::uint8_t* pixel = &picture[(std::size_t(y) * kLinkPictureWidth + x) * 4];
      if (PixelAt(shown, x, y) != Rgb{pixel[2], pixel[1], pixel[0]}) ++differing;
    }
  }
  return differing;
}

TEST(PanelLayoutTest, WholeFormShowsInTheWindowAtStart) {
  PumpEvents(100);
  // The 84 x 580 form in its 86-pixel column, fitted exactly, nothing scrolled.
  EXPECT_EQ(Panel().FormSizeInPixels(), wxSize(84, 580));
  EXPECT_EQ(Panel().GetClientSize(), wxSize(86, 580));
  EXPECT_EQ(Panel().GetViewStart(), wxPoint(0, 0));

  // The light pad, the form's lowest control, shows all of its disc: 75 rows just right of the
  // cross hair.
  wxWindow* pad = Panel().FindWindow(IDC_LIGHT_POS);
  EXPECT_TRUE(Panel().GetClientRect().Contains(pad->GetRect()));
  const wxImage shown = Shown(IDC_LIGHT_POS);
  ASSERT_TRUE(shown.IsOk()) << "the light pad is not wholly on the display";
  int crossHair = 0, mostGrey = 0;
  for (int x = 0; x < shown.GetWidth(); ++x) {
    int grey = 0;
    for (int y = 0; y < shown.GetHeight(); ++y) grey += PixelAt(shown, x, y) == kLightGrey;
    if (grey > mostGrey) std::tie(crossHair, mostGrey) = std::pair(x, grey);
  }
  int first = -1, last = -1;
  for (int y = 0; y < shown.GetHeight(); ++y) {
    if (PixelAt(shown, crossHair + 4, y) != kMidGrey) continue;
    if (first < 0) first = y;
    last = y;
  }
  EXPECT_EQ(last - first + 1, 75);
}

TEST(PanelLayoutTest, SectionLabelsShowTheirWholeCaptionInsideTheBox) {
  for (const int id : {IDC_LABEL_MESH, IDC_LABEL_TEXTURE, IDC_LABEL_DISPLAY}) {
    SCOPED_TRACE(id);
    const wxImage shown = Shown(id);
    ASSERT_TRUE(shown.IsOk());
    EXPECT_EQ(PixelAt(shown, 0, 0), kLabelBlue);
    const wxRect ink = InkExtent(shown, 240);
    ASSERT_FALSE(ink.IsEmpty());
    // Light blue all round the caption, which is still large.
    EXPECT_GE(ink.x, 1);
    EXPECT_LE(ink.GetRight(), shown.GetWidth() - 2);
    EXPECT_GE(ink.y, 1);
    EXPECT_LE(ink.GetBottom(), shown.GetHeight() - 2);
    EXPECT_GE(ink.height * 10, shown.GetHeight() * 4);
  }
}

TEST(PanelLayoutTest, LongestCaptionsFitTheirControls) {
  for (const int id : {IDC_LOAD_AVATAR, IDC_ALWAYS_ON_TOP}) {
    SCOPED_TRACE(id);
    const wxImage shown = Shown(id);
    ASSERT_TRUE(shown.IsOk());
    // Dark text, none of it on or next to the control's left and right edges.
    const wxRect ink = InkExtent(shown, 300);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.x, 2);
    EXPECT_LE(ink.GetRight(), shown.GetWidth() - 3);
  }
}

TEST(PanelLayoutTest, LinksAreExactlyTheirPicturesAndNameTheirAddresses) {
  const LinkAddresses addresses = FindLinkAddresses();
  const struct {
    int id;
    std::vector<std::uint8_t> picture;
    wxString address;
  } links[] = {{IDC_URL1, MakeHomePagePicture(), addresses.homePage},
               {IDC_URL2, MakeGuidePicture(), addresses.guide}};
  for (const auto& link : links) {
    SCOPED_TRACE(link.id);
    auto* control = dynamic_cast<HPJumpFrame*>(Panel().FindWindow(link.id));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetSize(), wxSize(kLinkPictureWidth, kLinkPictureHeight));
    const wxImage shown = Shown(link.id);
    ASSERT_TRUE(shown.IsOk());
    EXPECT_EQ(DifferingFromPicture(shown, link.picture), 0);
    EXPECT_EQ(control->GetToolTipText(), link.address);
    EXPECT_FALSE(link.address.empty());
    EXPECT_TRUE(control->GetCursor().IsOk());
  }
  // Beside the links the panel's own background, no black bar.
  const wxImage panel = GrabWindow(&Panel());
  ASSERT_TRUE(panel.IsOk());
  for (int y = 0; y < 2 * kLinkPictureHeight; ++y) {
    for (int x = kLinkPictureWidth; x < panel.GetWidth(); ++x) {
      ASSERT_GT(PixelAt(panel, x, y).Sum(), 300) << x << ", " << y;
    }
  }
}

// What `work` writes to standard error, where GTK prints its warnings.
std::string StandardErrorOf(const std::function<void()>& work) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) return "no temporary file for standard error";
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  ::dup2(::fileno(file), STDERR_FILENO);
  work();
  std::fflush(stderr);
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  std::string text;
  std::rewind(file);
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  std::fclose(file);
  return text;
}

// Scrolling moves the hidden "TEX フィット" control as well, without a word from GTK.
TEST(PanelLayoutTest, PanelThatScrolledShowsTheFormFromTheTopWhenItGrows) {
  const wxSize fitted = Frame().GetClientSize();
  wxWindow* pad = Panel().FindWindow(IDC_LIGHT_POS);
  const std::string warnings = StandardErrorOf([&] {
    Frame().SetClientSize(fitted.x, 300);
    PumpEvents(150);
    Panel().Scroll(0, Panel().GetVirtualSize().y);
    PumpEvents(150);
    ASSERT_GT(Panel().GetViewStart().y, 0);
    EXPECT_TRUE(Panel().GetClientRect().Contains(pad->GetRect()));
    Frame().SetClientSize(fitted);
    PumpEvents(150);
  });
  EXPECT_EQ(Panel().GetViewStart(), wxPoint(0, 0));
  EXPECT_EQ(Panel().FindWindow(IDC_URL1)->GetPosition(), wxPoint(0, 0));
  EXPECT_EQ(pad->GetPosition(), wxPoint(0, 499));
  EXPECT_EQ(DifferingFromPicture(Shown(IDC_URL1), MakeHomePagePicture()), 0);
  EXPECT_EQ(warnings.find("CRITICAL"), std::string::npos) << warnings;
}

TEST(PanelLayoutTest, WindowCarriesTheIconInstalledForTheDesktop) {
  const wxIconBundle icons = Frame().GetIcons();
  for (const int side : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(side);
    EXPECT_TRUE(icons.GetIconOfExactSize(wxSize(side, side)).IsOk());
  }
  // The picture the build renders for the icon theme, within a rendering's differences.
  wxImage installed;
  ASSERT_TRUE(installed.LoadFile(TOVMAR_ICON_48, wxBITMAP_TYPE_PNG));
  const wxImage window = wxBitmap(icons.GetIconOfExactSize(wxSize(48, 48))).ConvertToImage();
  ASSERT_EQ(window.GetSize(), installed.GetSize());
  long difference = 0;
  for (int y = 4; y < 44; ++y) {
    for (int x = 4; x < 44; ++x) {
      const Rgb a = PixelAt(window, x, y), b = PixelAt(installed, x, y);
      difference +=
          std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
    }
  }
  EXPECT_LT(difference / (40 * 40), 24);
}

}  // namespace
}  // namespace tovmar
