// Turning display pixels (width x height, bytes blue, green, red, 0 per pixel, top row first)
// into a bitmap of a control's client size, ready to be drawn at its top-left corner.
#pragma once

#include <cstdint>

#include <wx/bitmap.h>

namespace tovmar {

// The pixels stretched over outWidth x outHeight, each output pixel taking the nearest source
// pixel (no smoothing, aspect ratio not kept). All sizes at least 1.
wxBitmap StretchDisplayPixels(const std::uint8_t* pixels, int width, int height, int outWidth,
                              int outHeight);

// The pixels at their own size at the top-left corner of outWidth x outHeight, cut at its right
// and bottom edges; where the output reaches beyond the pixels it is black. All sizes at least 1.
wxBitmap PlaceDisplayPixels(const std::uint8_t* pixels, int width, int height, int outWidth,
                            int outHeight);

}  // namespace tovmar
