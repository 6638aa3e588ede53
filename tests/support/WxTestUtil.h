// Helpers of the window tests: letting shown windows paint, and reading back what they show.
#pragma once

#include <wx/image.h>
#include <wx/window.h>

#include <cstdint>
#include <vector>

namespace tovmar {

// Processes window system events, pending events and idle time for `ms` milliseconds, so that
// shown windows get mapped and painted and refreshed windows repaint.
void PumpEvents(int ms);

// What `window` shows on the screen in its client area, read back from the X display, one image
// pixel for each pixel of the display: on a display scaled by 2 the picture is twice the client
// size in each direction. An empty image when the client area is not wholly on the display.
wxImage GrabWindow(wxWindow* window);

// How many pixels of `shown` differ from `rgb` (R, G, B bytes of a picture of the same size, top
// row first) by more than `tolerance` in any channel.
int DifferingPixels(const wxImage& shown, const std::vector<std::uint8_t>& rgb, int tolerance);

}  // namespace tovmar
