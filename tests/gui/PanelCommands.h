// Pressing the panel's buttons and reading what the 3D view shows, for the window tests.
#pragma once

#include <wx/image.h>

namespace tovmar {

// Sends the panel control `id` its click, as the user's press would.
void Press(int id);

// The 3D view as it shows after its next paints.
wxImage ShownScene();

// Takes every mesh object out of the store, as before the first mesh load.
void RemoveAllMeshes();

}  // namespace tovmar
