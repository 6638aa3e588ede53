#include "tests/support/WxImageHandlers.h"

#include <wx/image.h>

namespace tovmar {

void AddWxImageHandlers() {
  static const bool added = [] {
    // The application may have added them already; adding them twice only wastes work.
    if (wxImage::FindHandler(wxBITMAP_TYPE_BMP) == nullptr) wxImage::InitStandardHandlers();
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxInitAllImageHandlers();
    return true;
  }();
  static_cast<void>(added);
}

}  // namespace tovmar
