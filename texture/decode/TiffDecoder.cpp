#include "texture/decode/TiffDecoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

// The most libtiff may allocate at once: what the largest picture takes at 4 bytes a pixel.
constexpr tmsize_t kMaxSingleAllocation = tmsize_t{kMaxPictureSide} * tmsize_t{kMaxPictureSide} * 4;

// The rows decoded at a time take about this many pixels, unless a strip or tile holds more.
constexpr std::uint64_t kChunkPixels = std::uint64_t{1} << 18;

// The file's bytes as libtiff reads them, at any place.
struct Source {
  std::string_view bytes;
  std::uint64_t at = 0;
};

tmsize_t ReadBytes(thandle_t handle, void* out, tmsize_t count) {
  auto* source = static_cast<Source*>(handle);
  if (count < 0 || source->at >= source->bytes.size()) return 0;
  const std::uint64_t n =
      std::min<std::uint64_t>(static_cast<std::uint64_t>(count), source->bytes.size() - source->at);
  std::memcpy(out, source->bytes.data() + source->at, static_cast<std::size_t>(n));
  source->at += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t WriteBytes(thandle_t, void*, tmsize_t) {
  return -1;
}

toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* source = static_cast<Source*>(handle);
  std::uint64_t base = 0;
  if (whence == SEEK_CUR) base = source->at;
  if (whence == SEEK_END) base = source->bytes.size();
  if (offset > UINT64_MAX - base) return static_cast<toff_t>(-1);
  source->at = base + offset;
  return source->at;
}

int Close(thandle_t) {
  return 0;
}

toff_t Size(thandle_t handle) {
  return static_cast<Source*>(handle)->bytes.size();
}

int Map(thandle_t, void**, toff_t*) {
  return 0;
}

void Unmap(thandle_t, void*, toff_t) {}

// libtiff's complaints are not shown: failing is enough.
int Quiet(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

// The open file and its RGBA reader, each closed when it goes.
class TiffFile {
 public:
  explicit TiffFile(Source& source) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    m_tiff = TIFFClientOpenExt("picture", "rm", &source, ReadBytes, WriteBytes, Seek, Close, Size,
                               Map, Unmap, options);
    TIFFOpenOptionsFree(options);
  }
  ~TiffFile() {
    if (m_began) TIFFRGBAImageEnd(&m_image);
    if (m_tiff != nullptr) TIFFClose(m_tiff);
  }
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;

  TIFF* Tiff() const { return m_tiff; }

  // Starts the RGBA reader; false when libtiff cannot read this image that way.
  bool BeginImage() {
    char message[1024];
    if (!TIFFRGBAImageOK(m_tiff, message)) return false;
    m_began = TIFFRGBAImageBegin(&m_image, m_tiff, 1, message) != 0;
    return m_began;
  }
  TIFFRGBAImage& Image() { return m_image; }

 private:
  TIFF* m_tiff = nullptr;
  TIFFRGBAImage m_image{};
  bool m_began = false;
};

// The rows a strip or tile of the image holds, which are decoded at once anyway.
std::uint32_t RowsPerBlock(TIFF* tiff, std::uint32_t height) {
  std::uint32_t rows = height;
  if (TIFFIsTiled(tiff) != 0) {
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &rows);
  } else {
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rows);
  }
  return std::clamp<std::uint32_t>(rows, 1, height);
}

}  // namespace

bool DecodeTiff(std::string_view bytes, BgrPicture& picture) {
  Source source{bytes};
  TiffFile file(source);
  if (file.Tiff() == nullptr) return false;

  // The size as libtiff reads it, checked before anything is decoded.
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (TIFFGetField(file.Tiff(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
      TIFFGetField(file.Tiff(), TIFFTAG_IMAGELENGTH, &height) != 1 || width == 0 || height == 0 ||
      !AcceptablePictureSize(width, height, std::uint64_t{width} * height, bytes.size())) {
    return false;
  }
  if (!file.BeginImage()) return false;
  TIFFRGBAImage& image = file.Image();
  image.req_orientation = ORIENTATION_TOPLEFT;

  // Whole strips or tiles at a time as R, G, B, A words, the top row first, then into the
  // picture, whose rows run from the bottom.
  const std::uint64_t blockRows = RowsPerBlock(file.Tiff(), height);
  const std::uint64_t blocks = std::max<std::uint64_t>(kChunkPixels / width / blockRows, 1);
  const auto chunkRows =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(blockRows * blocks, height));
  BgrPicture decoded{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}};
  decoded.bgr.resize(std::size_t{3} * width * height);
  std::vector<std::uint32_t> raster(std::size_t{width} * chunkRows);
  for (std::uint32_t top = 0; top < height; top += chunkRows) {
    const std::uint32_t rows = std::min(chunkRows, height - top);
    image.row_offset = static_cast<int>(top);
    image.col_offset = 0;
    if (TIFFRGBAImageGet(&image, raster.data(), width, rows) == 0) return false;
    for (std::uint32_t r = 0; r < rows; ++r) {
      const std::uint32_t* in = raster.data() + std::size_t{width} * r;
      std::uint8_t* out = decoded.bgr.data() + std::size_t{3} * width * (height - 1 - top - r);
      for (std::uint32_t x = 0; x < width; ++x, ++in, out += 3) {
        out[0] = static_cast<std::uint8_t>(TIFFGetB(*in));
        out[1] = static_cast<std::uint8_t>(TIFFGetG(*in));
        out[2] = static_cast<std::uint8_t>(TIFFGetR(*in));
      }
    }
  }
  picture = std::move(decoded);
  return true;
}

}  // namespace tovmar
