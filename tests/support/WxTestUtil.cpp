#include "tests/support/WxTestUtil.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <wx/app.h>
#include <wx/utils.h>

namespace tovmar {

namespace {

// One colour channel of an X pixel as 0..255, from the channel's mask.
unsigned char Channel(unsigned long pixel, unsigned long mask) {
  const unsigned long maximum = mask >> std::countr_zero(mask);
  return static_cast<unsigned char>(((pixel & mask) >> std::countr_zero(mask)) * 255 / maximum);
}

}  // namespace

void PumpEvents(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    wxTheApp->Yield(true);
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Reads the display's own pixels with XGetImage on the root window. A wxScreenDC blit is not
// used: its cairo surface of the root window keeps returning the first picture it read. The
// window's position and size are logical; the root window counts the display's pixels.
wxImage GrabWindow(wxWindow* window) {
  const wxSize size = window->ToPhys(window->GetClientSize());
  const wxPoint origin = window->ToPhys(window->ClientToScreen(wxPoint(0, 0)));
  Display* display = wxGetX11Display();
  XSync(display, False);
  // Asking for pixels beyond the root window is an X protocol error, which would end the tests.
  XWindowAttributes root;
  XGetWindowAttributes(display, DefaultRootWindow(display), &root);
  if (!wxRect(0, 0, root.width, root.height).Contains(wxRect(origin, size))) return wxImage();
  XImage* shot = XGetImage(display, DefaultRootWindow(display), origin.x, origin.y, size.x, size.y,
                           AllPlanes, ZPixmap);
  if (shot == nullptr) return wxImage();

  wxImage image(size.x, size.y, false);
  unsigned char* out = image.GetData();
  for (int y = 0; y < size.y; ++y) {
    for (int x = 0; x < size.x; ++x, out += 3) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      out[0] = Channel(pixel, shot->red_mask);
      out[1] = Channel(pixel, shot->green_mask);
      out[2] = Channel(pixel, shot->blue_mask);
    }
  }
  XDestroyImage(shot);
  return image;
}

int DifferingPixels(const wxImage& shown, const std::vector<std::uint8_t>& rgb, int tolerance) {
  const unsigned char* data = shown.GetData();
  int differing = 0;
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    for (std::size_t c = 0; c < 3; ++c) {
      if (std::abs(int{data[i + c]} - int{rgb[i + c]}) > tolerance) {
        ++differing;
        break;
      }
    }
  }
  return differing;
}

}  // namespace tovmar
