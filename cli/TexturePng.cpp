#include "cli/TexturePng.h"

#include <cstdint>
#include <vector>

#include "cli/CliError.h"
#include "cli/TextureImage.h"
#include "texture/decode/PngWriter.h"

namespace tovmar::cli {

std::string TexturePng(const std::string& path, PngCompression compression, bool keepAlpha) {
  const RgbaPicture picture = ReadTextureImage(path);
  if (keepAlpha) {
    std::string png = EncodePngRgba(picture.pixels, picture.width, picture.height, compression);
    if (png.empty()) throw CliError("cannot encode texture '" + path + "' as PNG");
    return png;
  }
  std::vector<std::uint8_t> rgb;
  rgb.reserve(picture.pixels.size() / 4 * 3);
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    rgb.insert(rgb.end(), picture.pixels.begin() + static_cast<std::ptrdiff_t>(i),
               picture.pixels.begin() + static_cast<std::ptrdiff_t>(i + 3));
  }
  std::string png = EncodePngRgb(rgb, picture.width, picture.height, compression);
  if (png.empty()) throw CliError("cannot encode texture '" + path + "' as PNG");
  return png;
}

}  // namespace tovmar::cli
