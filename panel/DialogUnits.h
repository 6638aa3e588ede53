// Dialog units as the form's own font measures them where the form was designed, at 96 dots per
// inch: so many pixels for 4 horizontal units and for 8 vertical units. A form then keeps the
// size it was drawn at whatever the desktop's font, and grows only with the display's scale
// factor.
#pragma once

#include <wx/gdicmn.h>

class wxWindow;

namespace tovmar {

struct DialogBaseUnits {
  int pixelsPer4X;
  int pixelsPer8Y;
};

// The control panel's form ("MS UI Gothic" 9 points).
inline constexpr DialogBaseUnits kPanelUnits{7, 12};
// The morph parameter dialog ("MS Shell Dlg" 8 points).
inline constexpr DialogBaseUnits kMorphDialogUnits{6, 13};

// A rectangle of a form in dialog units.
struct DialogRect {
  int x, y, w, h;
};

// Each position and each size converted on its own, the fractions cut off, then scaled by the
// display's scale factor where `window`'s toolkit counts physical pixels.
wxPoint DialogToPixels(const wxWindow* window, DialogBaseUnits units, wxPoint point);
wxSize DialogToPixels(const wxWindow* window, DialogBaseUnits units, wxSize size);
wxRect DialogToPixels(const wxWindow* window, DialogBaseUnits units, const DialogRect& rect);

}  // namespace tovmar
