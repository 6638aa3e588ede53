#include "texture/decode/DecodePicture.h"

#include "texture/decode/BmpDecoder.h"
#include "texture/decode/GifDecoder.h"
#include "texture/decode/ImageSizeProbe.h"
#include "texture/decode/JpegDecoder.h"
#include "texture/decode/PictureLimits.h"
#include "texture/decode/PngDecoder.h"
#include "texture/decode/TgaDecoder.h"
#include "texture/decode/TiffDecoder.h"

namespace tovmar {

namespace {

using Decoder = bool (*)(std::string_view, BgrPicture&);

// The one decoder of each format that the size probe reads, but for JPEG.
Decoder DecoderFor(ImageFormat format) {
  switch (format) {
    case ImageFormat::kPng:
      return DecodePng;
    case ImageFormat::kGif:
      return DecodeGif;
    case ImageFormat::kBmp:
      return DecodeBmp;
    case ImageFormat::kTiff:
      return DecodeTiff;
    case ImageFormat::kTga:
      return DecodeTga;
    case ImageFormat::kJpeg:  // decoded by DecodePicture itself, which passes on its rows
    case ImageFormat::kUnknown:
      break;
  }
  return nullptr;
}

// Only formats whose header was read are decoded; a file cut short still declares the pictures
// up to where it ends, unless it ends where a decoder would misread the end.
bool Decodable(ProbeResult probe, const ImageExtent& extent, std::uint64_t fileBytes) {
  return probe != ProbeResult::kNotProbed && probe != ProbeResult::kCutInFrame &&
         AcceptablePictureSize(extent.width, extent.height, extent.totalPixels, fileBytes);
}

}  // namespace

bool MayBeDecodable(std::string_view head, std::uint64_t fileBytes) {
  ImageExtent extent;
  const ProbeResult probe = ProbeImageExtent(head, extent);
  const bool cut = probe == ProbeResult::kCutShort || probe == ProbeResult::kCutInFrame;
  if (cut && head.size() < fileBytes) return true;
  return Decodable(probe, extent, fileBytes);
}

bool DecodePicture(std::string_view bytes, BgrPicture& picture, const RowsDecoded& rowsDecoded) {
  ImageExtent extent;
  const ProbeResult probe = ProbeImageExtent(bytes, extent);
  if (!Decodable(probe, extent, bytes.size())) return false;
  if (extent.format == ImageFormat::kJpeg) return DecodeJpeg(bytes, picture, nullptr, rowsDecoded);
  const Decoder decoder = DecoderFor(extent.format);
  return decoder != nullptr && decoder(bytes, picture);
}

}  // namespace tovmar
