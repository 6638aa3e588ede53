#include "texture/decode/PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

#include "texture/decode/FastPngEncoder.h"

namespace tovmar {

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// `channels` bytes a pixel: 3 for RGB, 4 for RGBA. The small setting is libpng's, at zlib's
// best compression with the filter chosen row by row.
std::string EncodePng(const std::vector<std::uint8_t>& pixels, int width, int height, int channels,
                      PngCompression compression) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                           static_cast<std::size_t>(channels)) {
    return {};
  }
  if (compression == PngCompression::kFast) {
    return EncodeFastPng(pixels.data(), width, height, channels);
  }
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return {};
  }
  // libpng reports its errors by jumping back here.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }

  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_compression_level(png, Z_BEST_COMPRESSION);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, pixels.data() + static_cast<std::size_t>(y) * stride);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace

std::string EncodePngRgb(const std::vector<std::uint8_t>& rgb, int width, int height,
                         PngCompression compression) {
  return EncodePng(rgb, width, height, 3, compression);
}

std::string EncodePngRgba(const std::vector<std::uint8_t>& rgba, int width, int height,
                          PngCompression compression) {
  return EncodePng(rgba, width, height, 4, compression);
}

}  // namespace tovmar
