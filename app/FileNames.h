// File names in a wxString, held as the toolkit holds them, and as the core takes them.
#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace tovmar {

// The file name for the core (UTF-8; on Linux any bytes) from a wxString that holds it as the
// toolkit does: the bytes of a name that is not valid UTF-8 stand there as private-use characters.
std::string CorePath(const wxString& path);

// The bytes of a file name as a wxString that CorePath turns back into the same bytes.
wxString WxPath(std::string_view path);

}  // namespace tovmar
