// A texture image as the PNG file bytes a glTF file embeds.
#pragma once

#include <string>

#include "cli/PngOptions.h"

namespace tovmar::cli {

// The image file at `path` as PNG bytes: the picture as the window shows it, top row first, with
// its alpha when `keepAlpha` and without it (opaque) otherwise. Throws CliError when it cannot be
// read or encoded.
std::string TexturePng(const std::string& path, PngCompression compression, bool keepAlpha);

}  // namespace tovmar::cli
