#include "texture/decode/JpegDecoder.h"

// jpeglib.h needs the size types declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <utility>
#include <vector>

#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

// libjpeg's error handling: its complaints are not shown, and an error leaves the decode through
// the jump that ReadPicture sets.
struct Errors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
}
void OnMessage(j_common_ptr, int) {}
void OnOutputMessage(j_common_ptr) {}

// Called by libjpeg as it works through the file: counts the scans and stops the decode when one
// more starts than a file may have.
struct Progress {
  jpeg_progress_mgr manager;
  int scans = 0;
};

void OnProgress(j_common_ptr info) {
  auto* progress = reinterpret_cast<Progress*>(info->progress);
  const int scan = reinterpret_cast<j_decompress_ptr>(info)->input_scan_number;
  progress->scans = std::max(progress->scans, scan);
  if (scan > kMaxJpegScans) OnError(info);
}

// libjpeg's decompression state, destroyed when it goes.
class JpegReader {
 public:
  JpegReader() {
    m_info.err = jpeg_std_error(&m_errors.manager);
    m_errors.manager.error_exit = OnError;
    m_errors.manager.emit_message = OnMessage;
    m_errors.manager.output_message = OnOutputMessage;
    m_progress.manager.progress_monitor = OnProgress;
  }
  ~JpegReader() {
    if (m_created) jpeg_destroy_decompress(&m_info);
  }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  j_decompress_ptr Info() { return &m_info; }
  Errors& ErrorState() { return m_errors; }
  Progress& ProgressState() { return m_progress; }
  void MarkCreated() { m_created = true; }

 private:
  jpeg_decompress_struct m_info{};
  Errors m_errors{};
  Progress m_progress{};
  bool m_created = false;
};

// The colour of one CMYK pixel as Adobe stores it, each ink inverted: B, G, R at `out`.
void CmykToBgr(const JSAMPLE* in, std::uint8_t* out, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    const unsigned k = in[3];
    out[0] = static_cast<std::uint8_t>(in[2] * k / 255);
    out[1] = static_cast<std::uint8_t>(in[1] * k / 255);
    out[2] = static_cast<std::uint8_t>(in[0] * k / 255);
  }
}

// Reads the header, checks the size and decodes the rows into `decoded`; CMYK rows go through
// `cmykRow` first. Holds no object with a destructor of its own, since an error of libjpeg jumps
// out of it.
bool ReadPicture(JpegReader& reader, std::string_view bytes, BgrPicture& decoded,
                 std::vector<JSAMPLE>& cmykRow, const RowsDecoded& rowsDecoded) {
  j_decompress_ptr info = reader.Info();
  if (setjmp(reader.ErrorState().jump) != 0) return false;
  jpeg_create_decompress(info);
  reader.MarkCreated();
  info->progress = &reader.ProgressState().manager;
  jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) return false;

  // The size as libjpeg will decode it, checked before anything is allocated.
  const JDIMENSION width = info->image_width;
  const JDIMENSION height = info->image_height;
  if (width == 0 || height == 0 ||
      !AcceptablePictureSize(width, height, std::uint64_t{width} * height, bytes.size())) {
    return false;
  }
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(info);
  if (info->output_width != width || info->output_height != height) return false;

  // The file's rows run from the top, the picture's from the bottom.
  decoded.width = static_cast<std::int32_t>(width);
  decoded.height = static_cast<std::int32_t>(height);
  decoded.bgr.resize(std::size_t{3} * width * height);
  if (cmyk) cmykRow.resize(std::size_t{4} * width);
  while (info->output_scanline < height) {
    std::uint8_t* row =
        decoded.bgr.data() + std::size_t{3} * width * (height - 1 - info->output_scanline);
    JSAMPROW target = cmyk ? cmykRow.data() : row;
    if (jpeg_read_scanlines(info, &target, 1) != 1) return false;
    if (cmyk) CmykToBgr(cmykRow.data(), row, width);
    if (rowsDecoded) rowsDecoded(decoded, static_cast<std::int32_t>(info->output_scanline));
  }
  return true;
}

}  // namespace

bool DecodeJpeg(std::string_view bytes, BgrPicture& picture, int* scansRead,
                const RowsDecoded& rowsDecoded) {
  JpegReader reader;
  BgrPicture decoded;
  std::vector<JSAMPLE> cmykRow;
  const bool read = ReadPicture(reader, bytes, decoded, cmykRow, rowsDecoded);
  if (scansRead != nullptr) *scansRead = reader.ProgressState().scans;
  if (!read) {
    if (rowsDecoded) rowsDecoded(decoded, -1);
    return false;
  }
  picture = std::move(decoded);
  return true;
}

}  // namespace tovmar
