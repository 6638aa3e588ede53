#include "resources/WindowIcon.h"

#include <wx/bmpbndl.h>

#include "resources/IconSvg.h"

namespace tovmar {

wxIconBundle MakeWindowIcons() {
  wxIconBundle icons;
#ifdef wxHAS_SVG
  const wxBitmapBundle drawing = wxBitmapBundle::FromSVG(kIconSvg, wxSize(256, 256));
  for (const int side : {16, 32, 48, 64, 128, 256}) {
    const wxBitmap picture = drawing.GetBitmap(wxSize(side, side));
    if (!picture.IsOk()) continue;
    wxIcon icon;
    icon.CopyFromBitmap(picture);
    icons.AddIcon(icon);
  }
#endif
  return icons;
}

}  // namespace tovmar
