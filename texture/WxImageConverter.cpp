#include "texture/WxImageConverter.h"

#include <wx/ffile.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>

#include <filesystem>
#include <new>
#include <system_error>

#include "mesh/FileBytes.h"
#include "mesh/TextureObject.h"
#include "texture/BmpDecoder.h"
#include "texture/BmpWriter.h"
#include "texture/GifDecoder.h"
#include "texture/ImageSizeProbe.h"
#include "texture/TgaDecoder.h"

namespace tovmar {

namespace {

// The largest image file decoded: an uncompressed 32-bit picture at the largest size, with room.
constexpr std::uint64_t kMaxSourceBytes =
    std::uint64_t{kMaxTextureSide} * kMaxTextureSide * 4 + (std::uint64_t{1} << 20);

// The first bytes of a file, which hold the declared size of nearly every picture.
constexpr std::size_t kProbeBytes = std::size_t{1} << 16;

constexpr std::uint64_t kMaxSide = kMaxTextureSide;

// Appends up to `count` bytes from the current position of `file` to `bytes`, read straight into
// their place: pictures of many megabytes are not copied a second time.
void AppendUpTo(wxFFile& file, std::size_t count, std::string& bytes) {
  const std::size_t had = bytes.size();
  bytes.resize(had + count);
  bytes.resize(had + file.Read(bytes.data() + had, count));
}

// The most pixels a file may declare for each of its bytes. Real colour pictures stay far below
// it (a picture of one colour reaches about 350 in PNG and 200 in JPEG); a file of a few bytes
// that declares millions of pixels would only make the decoder allocate and write for nothing.
constexpr std::uint64_t kMaxPixelsPerFileByte = 4096;

// Whether the declared size is one that the decoder may allocate and fill from a file of
// `fileBytes` bytes.
bool Acceptable(const ImageExtent& extent, std::uint64_t fileBytes) {
  return extent.width <= kMaxSide && extent.height <= kMaxSide &&
         extent.totalPixels <= kMaxSide * kMaxSide &&
         extent.totalPixels <= fileBytes * kMaxPixelsPerFileByte;
}

// Tovmar's own decoder of a picture held in memory.
using OwnDecoder = bool (*)(std::string_view, BgrPicture&);

// The one decoder of a format read by the size probe: Tovmar's own, or wxImage's.
struct Decoder {
  OwnDecoder own = nullptr;
  wxBitmapType wx = wxBITMAP_TYPE_INVALID;
};

Decoder DecoderFor(ImageFormat format) {
  switch (format) {
    case ImageFormat::kBmp:
      return {DecodeBmp};
    case ImageFormat::kGif:
      return {DecodeGif};
    case ImageFormat::kTga:
      return {DecodeTga};
    case ImageFormat::kPng:
      return {nullptr, wxBITMAP_TYPE_PNG};
    case ImageFormat::kJpeg:
      return {nullptr, wxBITMAP_TYPE_JPEG};
    case ImageFormat::kTiff:
      return {nullptr, wxBITMAP_TYPE_TIF};
    case ImageFormat::kUnknown:
      break;
  }
  return {};
}

// Decodes the picture with wxImage's decoder of its format, chosen by content, not by
// extension: letting every decoder try in turn would hand a file to decoders that misread it.
bool Decode(wxInputStream& stream, wxBitmapType type, wxImage& image) {
  return image.LoadFile(stream, type) && image.IsOk();
}

// Reads the declared size from the file's first bytes (all of them when those do not suffice),
// refuses a picture over the size limit or one that declares far more pixels than its bytes can
// carry, decodes it and writes it as the BMP file.
bool CheckAndConvert(const std::string& source, const std::string& bmpPath) {
  // Only plain files: a device or a pipe could feed a decoder without end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(PathFromUtf8(source), ec)) return false;
  wxFFile file(OpenFileForReading(source).release());  // closes the file when it goes
  if (!file.IsOpened()) return false;
  const wxFileOffset length = file.Length();
  if (length < 0 || static_cast<std::uint64_t>(length) > kMaxSourceBytes) return false;

  std::string bytes;
  AppendUpTo(file, kProbeBytes, bytes);
  bool whole = bytes.size() == static_cast<std::size_t>(length);
  const auto readRest = [&] {
    AppendUpTo(file, static_cast<std::size_t>(length) - bytes.size(), bytes);
    whole = true;
  };
  ImageExtent extent;
  ProbeResult probe = ProbeImageExtent(bytes, extent);
  const auto cut = [](ProbeResult p) {
    return p == ProbeResult::kCutShort || p == ProbeResult::kCutInFrame;
  };
  if (cut(probe) && !whole) {
    readRest();
    probe = ProbeImageExtent(bytes, extent);
  }
  // Only formats whose header was read are decoded; a file cut short still declares the
  // pictures up to where it ends, unless it ends where a decoder would misread the end.
  if (probe == ProbeResult::kNotProbed || probe == ProbeResult::kCutInFrame ||
      !Acceptable(extent, static_cast<std::uint64_t>(length))) {
    return false;
  }

  // wxImage's BMP, GIF and TGA decoders write outside their buffers on damaged data (run-length
  // BMP data, compressed GIF data, TGA colour maps), which no header check can foresee; those
  // pictures go through decoders that stay within the bytes they are given.
  const Decoder decoder = DecoderFor(extent.format);
  if (decoder.own != nullptr) {
    if (!whole) readRest();
    BgrPicture picture;
    return decoder.own(bytes, picture) && WriteBmp24(bmpPath, picture);
  }

  // Bytes already in memory are decoded from there; otherwise the decoder reads the file.
  wxImage image;
  if (whole) {
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    if (!Decode(stream, decoder.wx, image)) return false;
  } else {
    if (!file.Seek(0)) return false;
    wxFFileInputStream stream(file);
    if (!Decode(stream, decoder.wx, image)) return false;
  }

  // Alpha and masks are left behind: the texture keeps colour only.
  const int width = image.GetWidth();
  const int height = image.GetHeight();
  if (width > kMaxTextureSide || height > kMaxTextureSide) return false;
  return WriteBmp24(bmpPath, image.GetData(), width, height);
}

}  // namespace

void AddWxImageHandlers() {
  static const bool added = [] {
    // The application may have added them already; adding them twice only wastes work.
    if (wxImage::FindHandler(wxBITMAP_TYPE_BMP) == nullptr) wxImage::InitStandardHandlers();
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxInitAllImageHandlers();
    return true;
  }();
  static_cast<void>(added);
}

bool WxImageConverter::ConvertToBmp(const std::string& source, const std::string& bmpPath) {
  AddWxImageHandlers();
  // Complaints of the decoders and of wxFFile must not reach a log window: failing is enough.
  wxLogNull noLog;
  try {
    return CheckAndConvert(source, bmpPath);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace tovmar
