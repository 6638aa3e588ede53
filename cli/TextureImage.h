// Image files for commands that use a texture as a picture of its own: read through the same
// conversion as a texture load, and scaled.
#pragma once

#include <string>

#include "exchange/RgbaPicture.h"
#include "mesh/TextureObject.h"

namespace tovmar::cli {

// The image file at `path` (PNG, JPEG, TGA, BMP, TIFF, GIF, ...) loaded as the texture command
// loads it: R, G, B, 0 pixels, bottom row first, through the installed image converter or, without
// one, the toolkit's. Throws CliError when the file is missing or
// cannot be read.
TextureObject LoadTextureFile(const std::string& path);

// The image file at `path` (PNG, JPEG, TGA, BMP, TIFF, GIF, ...), read as the texture command
// reads it, as an opaque picture. Throws CliError when the file is missing or cannot be read.
RgbaPicture ReadTextureImage(const std::string& path);

// `source` scaled to width x height: each pixel is the mean of the part of the source it covers.
RgbaPicture ScalePicture(const RgbaPicture& source, int width, int height);

}  // namespace tovmar::cli
