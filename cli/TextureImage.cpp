#include "cli/TextureImage.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "base/FileBytes.h"
#include "cli/CliError.h"
#include "cli/MessageCapture.h"
#include "mesh/TextureObject.h"
#include "texture/ImageConverter.h"
#include "texture/PictureConverter.h"

namespace tovmar::cli {

namespace {

// The source pixels that make up one pixel of a scaled axis, and how much each counts.
struct Footprint {
  std::size_t first = 0;  // into `weights`
  std::size_t count = 0;
  int firstSource = 0;
};

struct AxisScale {
  std::vector<Footprint> footprints;  // one per target pixel
  std::vector<double> weights;
};

// Target pixel i covers source [i s / t, (i + 1) s / t); each source pixel counts by the share of
// it that lies within, so that the weights of a target pixel add up to 1.
AxisScale ScaleAxis(int sourceSize, int targetSize) {
  AxisScale scale;
  const double ratio = static_cast<double>(sourceSize) / targetSize;
  for (int i = 0; i < targetSize; ++i) {
    const double begin = i * ratio, end = (i + 1) * ratio;
    const int first = std::min(static_cast<int>(begin), sourceSize - 1);
    const int last = std::clamp(static_cast<int>(std::ceil(end)) - 1, first, sourceSize - 1);
    Footprint footprint{scale.weights.size(), 0, first};
    for (int j = first; j <= last; ++j) {
      const double share = std::min(end, j + 1.0) - std::max(begin, static_cast<double>(j));
      scale.weights.push_back(std::max(share, 0.0) / ratio);
      ++footprint.count;
    }
    scale.footprints.push_back(footprint);
  }
  return scale;
}

}  // namespace

TextureObject LoadTextureFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(PathFromUtf8(path), ec)) {
    throw CliError("cannot open texture '" + path + "': no such file");
  }
  // A converter the caller installed decodes instead of the default one.
  PictureConverter own;
  ImageConverter* const caller = InstalledImageConverter();
  const ScopedImageConverter installed(caller != nullptr ? caller : &own);
  const MessageCapture messages;
  TextureObject texture;
  if (!texture.Load(path)) throw CliError("cannot load texture '" + path + "': " + messages.Text());
  return texture;
}

RgbaPicture ReadTextureImage(const std::string& path) {
  const TextureObject texture = LoadTextureFile(path);

  // The loader's rows run bottom up and its fourth byte is always 0.
  const PixelBuffer& bottomUp = texture.Pixels();
  RgbaPicture picture{texture.Width(), texture.Height(), {}};
  picture.pixels.reserve(bottomUp.size());
  const auto stride = static_cast<std::ptrdiff_t>(picture.width) * 4;
  for (std::ptrdiff_t row = picture.height - 1; row >= 0; --row) {
    picture.pixels.insert(picture.pixels.end(), bottomUp.begin() + row * stride,
                          bottomUp.begin() + (row + 1) * stride);
  }
  for (std::size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 255;
  return picture;
}

RgbaPicture ScalePicture(const RgbaPicture& source, int width, int height) {
  RgbaPicture target = RgbaPicture::Filled(width, height, {0, 0, 0, 0});
  if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0) return target;
  const AxisScale across = ScaleAxis(source.width, width);
  const AxisScale down = ScaleAxis(source.height, height);
  const std::size_t sourceStride = static_cast<std::size_t>(source.width) * 4;
  const std::size_t targetStride = static_cast<std::size_t>(width) * 4;

  // One target row at a time: the source rows it covers, each scaled across and added with its
  // weight, so that only one row of sums is held.
  std::vector<double> sums(targetStride);
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    std::fill(sums.begin(), sums.end(), 0.0);
    const Footprint& rows = down.footprints[y];
    for (std::size_t r = 0; r < rows.count; ++r) {
      const double rowWeight = down.weights[rows.first + r];
      const std::uint8_t* row =
          source.pixels.data() + (static_cast<std::size_t>(rows.firstSource) + r) * sourceStride;
      for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
        const Footprint& columns = across.footprints[x];
        const std::uint8_t* pixel = row + static_cast<std::size_t>(columns.firstSource) * 4;
        for (std::size_t c = 0; c < columns.count; ++c, pixel += 4) {
          const double w = rowWeight * across.weights[columns.first + c];
          for (std::size_t k = 0; k < 4; ++k) sums[x * 4 + k] += w * pixel[k];
        }
      }
    }
    std::uint8_t* out = target.pixels.data() + y * targetStride;
    for (std::size_t i = 0; i < targetStride; ++i) {
      out[i] = static_cast<std::uint8_t>(std::clamp(std::round(sums[i]), 0.0, 255.0));
    }
  }
  return target;
}

}  // namespace tovmar::cli
