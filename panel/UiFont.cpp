#include "panel/UiFont.h"

#include <wx/fontenum.h>
#include <wx/window.h>

namespace tovmar {

namespace {

constexpr double kFormPointSize = 9.0;
constexpr double kSmallestPointSize = 6.0;

bool CaptionsFit(const wxWindow& window, const wxFont& font,
                 std::initializer_list<CaptionRoom> captions) {
  for (const CaptionRoom& room : captions) {
    int width = 0, height = 0;
    window.GetTextExtent(wxString::FromUTF8(room.caption), &width, &height, nullptr, nullptr,
                         &font);
    if (width > room.width) return false;
  }
  return true;
}

}  // namespace

wxString UiGothicFaceName() {
  // IPA P Gothic, like MS UI Gothic, sets Latin letters in proportion; IPA Gothic gives every
  // letter the same width.
  static const wxString face = [] {
    for (const char* name : {"MS UI Gothic", "IPAPGothic", "IPAGothic"}) {
      if (wxFontEnumerator::IsValidFacename(name)) return wxString(name);
    }
    return wxString("MS UI Gothic");
  }();
  return face;
}

wxFont PanelFont(const wxWindow& window, std::initializer_list<CaptionRoom> captions) {
  wxFont font(wxFontInfo(kFormPointSize).FaceName(UiGothicFaceName()));
  while (font.GetFractionalPointSize() > kSmallestPointSize &&
         !CaptionsFit(window, font, captions)) {
    font.SetFractionalPointSize(font.GetFractionalPointSize() - 0.5);
  }
  return font;
}

}  // namespace tovmar
