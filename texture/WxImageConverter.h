// The image conversion stage through wxImage: any type that wxWidgets decodes (PNG, JPEG, TGA,
// BMP, ...), and GIF through Tovmar's own decoder, becomes an uncompressed bottom-up 24-bit BMP
// file at the picture's own size.
#pragma once

#include "texture/ImageConverter.h"

namespace tovmar {

// Adds wxImage's decoders once. Without wxApp or wxInitializer even the BMP decoder is missing
// until this runs; programs that also write pictures with wxImage call it first.
void AddWxImageHandlers();

// Needs wxWidgets' base and core libraries only; works without a display and without wxApp.
class WxImageConverter : public ImageConverter {
 public:
  bool ConvertToBmp(const std::string& source, const std::string& bmpPath) override;
};

}  // namespace tovmar
