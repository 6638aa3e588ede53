// A fixture for the panel control tests: a real top-level frame shown on the display, with a
// plain panel to place controls on, and pixel helpers for what the screen shows.
#pragma once

#include <ostream>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>

namespace tovmar {

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
};
void PrintTo(const Rgb& colour, std::ostream* out);

Rgb PixelAt(const wxImage& image, int x, int y);

// Whether every pixel of `image` is `colour`.
bool AllPixelsAre(const wxImage& image, Rgb colour);

class ShownFrameTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Lets the frame and its controls paint, then reads back what `control` shows.
  wxImage PaintAndGrab(wxWindow* control);

  wxFrame* m_frame = nullptr;
  wxPanel* m_panel = nullptr;
};

}  // namespace tovmar
