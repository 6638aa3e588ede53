// The image conversion stage of the texture load, as one small seam: it decodes an image file
// and writes the picture as an uncompressed bottom-up BMP file that the loader reads back.
#pragma once

#include <cstdio>
#include <string>

#include "base/ScopedInstall.h"

namespace tovmar {

class ImageConverter {
 public:
  virtual ~ImageConverter() = default;

  // Decodes the image file at `source` (UTF-8) and writes it into `bmpFile`, an empty file open
  // for writing, as a BMP of 8, 24 or 32 bits per pixel. Returns false when the file cannot be
  // decoded or written.
  virtual bool ConvertToBmp(const std::string& source, std::FILE* bmpFile) = 0;
};

// The installed converter, or nullptr when there is none.
ImageConverter* InstalledImageConverter();

// Installs `converter` (nullptr: none) and returns the previous one.
ImageConverter* InstallImageConverter(ImageConverter* converter);

// Installs a converter for the life of this object, then puts the previous one back.
using ScopedImageConverter = ScopedInstall<ImageConverter, &InstallImageConverter>;

}  // namespace tovmar
