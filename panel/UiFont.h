// The panel's font: "MS UI Gothic" where it is installed, otherwise the installed proportional
// Japanese gothic face that stands in for it, at the largest size up to 9 points at which the
// panel's captions fit their controls.
#pragma once

#include <initializer_list>

#include <wx/font.h>
#include <wx/string.h>

class wxWindow;

namespace tovmar {

wxString UiGothicFaceName();

// A caption and the width in pixels it must fit in.
struct CaptionRoom {
  const char* caption;  // UTF-8
  int width;
};

// The panel font for `window`: 9 points where every caption fits its room, otherwise smaller in
// steps of half a point, down to 6 points.
wxFont PanelFont(const wxWindow& window, std::initializer_list<CaptionRoom> captions);

}  // namespace tovmar
