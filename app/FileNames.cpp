#include "app/FileNames.h"

#include <wx/strconv.h>

namespace tovmar {

namespace {

// UTF-8 whose invalid bytes become private-use characters and back, as the toolkit converts file
// names on GTK.
const wxMBConv& FileNameConversion() {
  static const wxMBConvUTF8 conversion(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
  return conversion;
}

}  // namespace

std::string CorePath(const wxString& path) {
  return path.ToStdString(FileNameConversion());
}

wxString WxPath(std::string_view path) {
  return wxString(path.data(), FileNameConversion(), path.size());
}

}  // namespace tovmar
