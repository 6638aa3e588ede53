#include "texture/decode/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

// The file's bytes as libpng reads them, from the front.
struct Source {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
};

void ReadBytes(png_structp png, png_bytep out, std::size_t count) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->size - source->at) png_error(png, "the file ends early");
  std::memcpy(out, source->data + source->at, count);
  source->at += count;
}

// libpng's complaints are not shown: failing is enough. An error leaves the decode through the
// jump that ReadPicture sets.
void OnError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// libpng's read state, destroyed when it goes.
class PngReader {
 public:
  PngReader() {
    m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (m_png != nullptr) m_info = png_create_info_struct(m_png);
  }
  ~PngReader() { png_destroy_read_struct(&m_png, m_info != nullptr ? &m_info : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  png_structp Png() const { return m_png; }
  png_infop Info() const { return m_info; }

 private:
  png_structp m_png = nullptr;
  png_infop m_info = nullptr;
};

// Reads the header, sets the conversions to B, G, R bytes and decodes the rows into `decoded`,
// through `rows`, the rows' places. Holds no object with a destructor of its own, since an error
// of libpng jumps out of it.
bool ReadPicture(const PngReader& reader, Source& source, BgrPicture& decoded,
                 std::vector<png_bytep>& rows) {
  png_structp png = reader.Png();
  png_infop info = reader.Info();
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_set_read_fn(png, &source, ReadBytes);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_read_info(png, info);

  // The size as libpng will decode it, checked before anything is allocated.
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 ||
      !AcceptablePictureSize(width, height, std::uint64_t{width} * height, source.size)) {
    return false;
  }

  // Every colour type and depth becomes 8-bit B, G, R.
  png_set_strip_16(png);
  png_set_packing(png);
  png_set_palette_to_rgb(png);
  png_set_expand_gray_1_2_4_to_8(png);
  png_set_gray_to_rgb(png);
  png_set_strip_alpha(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != std::size_t{3} * width) return false;

  // The file's rows run from the top, the picture's from the bottom.
  decoded.width = static_cast<std::int32_t>(width);
  decoded.height = static_cast<std::int32_t>(height);
  decoded.bgr.resize(std::size_t{3} * width * height);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = decoded.bgr.data() + std::size_t{3} * width * (height - 1 - y);
  }
  png_read_image(png, rows.data());
  return true;
}

}  // namespace

bool DecodePng(std::string_view bytes, BgrPicture& picture) {
  const PngReader reader;
  if (reader.Png() == nullptr || reader.Info() == nullptr) return false;
  Source source{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
  BgrPicture decoded;
  std::vector<png_bytep> rows;
  if (!ReadPicture(reader, source, decoded, rows)) return false;
  picture = std::move(decoded);
  return true;
}

}  // namespace tovmar
