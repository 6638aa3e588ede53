#include "tests/panel/TestFrame.h"

#include "tests/support/WxTestUtil.h"

namespace tovmar {

void PrintTo(const Rgb& colour, std::ostream* out) {
  *out << "(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
}

Rgb PixelAt(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

bool AllPixelsAre(const wxImage& image, Rgb colour) {
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (PixelAt(image, x, y) != colour) return false;
    }
  }
  return true;
}

void ShownFrameTest::SetUp() {
  m_frame = new wxFrame(nullptr, wxID_ANY, "Tovmar test", wxPoint(0, 0), wxSize(400, 300));
  m_panel = new wxPanel(m_frame);
  m_frame->Show();
}

void ShownFrameTest::TearDown() {
  m_frame->Destroy();
  PumpEvents(20);
}

wxImage ShownFrameTest::PaintAndGrab(wxWindow* control) {
  control->Refresh();
  PumpEvents(300);
  return GrabWindow(control);
}

}  // namespace tovmar
