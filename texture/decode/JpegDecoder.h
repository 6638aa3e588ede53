// Decoding a JPEG file with libjpeg-turbo into BMP pixel order, with a limit on its scans.
#pragma once

#include <string_view>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// The most scans a JPEG file may have. Real files have far fewer (a progressive file of libjpeg's
// own has 10, elaborate scripts stay under 20); every scan costs a pass over every block of the
// picture, about 50 ms at 16384 x 16384, so a file made of thousands of empty scans would hold
// the decoder for minutes.
inline constexpr int kMaxJpegScans = 32;

// Decodes the JPEG file in `bytes`: baseline, extended and progressive, grey, colour and CMYK
// (taken as Adobe writes it, inverted). Data that ends early leaves the rest of the picture
// grey, as libjpeg fills it. Returns false, leaving `picture` as it was, for bytes that libjpeg
// refuses, for a size that AcceptablePictureSize refuses for a file of this many bytes (checked
// before the picture is allocated), and for a file of more than kMaxJpegScans scans, which is
// refused when the next scan starts. `scansRead`, when given, is set to the scans started;
// `rowsDecoded`, when given, is told of every row as it is decoded. Throws std::bad_alloc when the
// picture cannot be allocated.
bool DecodeJpeg(std::string_view bytes, BgrPicture& picture, int* scansRead = nullptr,
                const RowsDecoded& rowsDecoded = {});

}  // namespace tovmar
