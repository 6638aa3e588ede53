#include "panel/UiFont.h"

#include <wx/fontenum.h>

namespace tovmar {

wxString UiGothicFaceName() {
  static const wxString face =
      wxFontEnumerator::IsValidFacename("MS UI Gothic") ? "MS UI Gothic" : "IPAGothic";
  return face;
}

}  // namespace tovmar
