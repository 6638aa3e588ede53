// The panel's font face: "MS UI Gothic" where it is installed, otherwise the installed Japanese
// gothic face that stands in for it.
#pragma once

#include <wx/string.h>

namespace tovmar {

wxString UiGothicFaceName();

}  // namespace tovmar
