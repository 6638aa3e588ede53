// Helpers of the window tests: letting shown windows paint, and reading back what they show.
#pragma once

#include <wx/image.h>
#include <wx/window.h>

namespace tovmar {

// Processes window system events, pending events and idle time for `ms` milliseconds, so that
// shown windows get mapped and painted and refreshed windows repaint.
void PumpEvents(int ms);

// What `window` shows on the screen in its client area, read back from the X display.
wxImage GrabWindow(wxWindow* window);

}  // namespace tovmar
