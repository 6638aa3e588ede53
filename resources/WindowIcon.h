// The main window's icon: the drawing the desktop entry shows, rendered at the sizes window
// managers and task bars ask for.
#pragma once

#include <wx/iconbndl.h>

namespace tovmar {

// Empty where the toolkit cannot render drawings.
wxIconBundle MakeWindowIcons();

}  // namespace tovmar
