// The picture of the light position pad: 81 x 81 pixels in colours of the standard 16-colour
// palette, a mid-grey disc on white with light-grey cross hairs and a white centre square.
#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>

namespace tovmar {

constexpr int kLightPosSide = 81;

wxImage MakeLightPosImage();

// The same picture, ready for a button.
wxBitmap MakeLightPosBitmap();

}  // namespace tovmar
