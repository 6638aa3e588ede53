#include "panel/DialogUnits.h"

#include <wx/window.h>

namespace tovmar {

namespace {

wxSize Unscaled(DialogBaseUnits units, int x, int y) {
  return wxSize(x * units.pixelsPer4X / 4, y * units.pixelsPer8Y / 8);
}

}  // namespace

wxPoint DialogToPixels(const wxWindow* window, DialogBaseUnits units, wxPoint point) {
  const wxSize pixels = wxWindow::FromDIP(Unscaled(units, point.x, point.y), window);
  return wxPoint(pixels.x, pixels.y);
}

wxSize DialogToPixels(const wxWindow* window, DialogBaseUnits units, wxSize size) {
  return wxWindow::FromDIP(Unscaled(units, size.x, size.y), window);
}

wxRect DialogToPixels(const wxWindow* window, DialogBaseUnits units, const DialogRect& rect) {
  return wxRect(DialogToPixels(window, units, wxPoint(rect.x, rect.y)),
                DialogToPixels(window, units, wxSize(rect.w, rect.h)));
}

}  // namespace tovmar
