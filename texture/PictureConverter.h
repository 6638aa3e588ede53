// The image conversion stage of the texture load through Tovmar's own decoders: PNG, JPEG, GIF,
// BMP, TIFF and TGA files, each recognised by its first bytes whatever its name says, become an
// uncompressed bottom-up 24-bit BMP file at the picture's own size. Other types are refused.
#pragma once

#include "texture/ImageConverter.h"

namespace tovmar {

// Needs no toolkit, no display and no application object.
class PictureConverter : public ImageConverter {
 public:
  bool ConvertToBmp(const std::string& source, std::FILE* bmpFile) override;
};

}  // namespace tovmar
