// Reading the temporary BMP file of the texture load: pure functions of the file's bytes, so
// that any bytes at all can be handed to them. The header is read first; the pixel rows can
// then be converted in pieces as they are read from the file.
#pragma once

#include <cstdint>
#include <string_view>

namespace tovmar {

// The header bytes read: data offset, width, height, planes and bit count.
inline constexpr std::size_t kBmpHeaderBytes = 30;

// Where the pixel rows of a BMP file are and how they are laid out.
struct BmpLayout {
  std::uint64_t dataOffset = 0;    // first byte of the first row in the file
  std::int32_t width = 0;          // pixels per row
  std::int32_t height = 0;         // number of rows, always positive
  bool topDown = false;            // the file's first row is the picture's top row
  std::uint64_t bitsPerPixel = 0;  // planes x bit count
  std::uint64_t rowBytes = 0;      // pixel bytes of a converted row; 0 for other depths
  std::uint64_t rowStride = 0;     // rowBytes rounded up to a multiple of 4
};

enum class BmpStatus {
  kOk,
  kTruncated,  // the file ends before its header or its pixel rows do
  kEmpty,      // a width or height of zero, or a negative width
  kTooLarge,   // a side over kMaxTextureSide
};

// Reads the layout from `header`, the file's first bytes (kBmpHeaderBytes of them, or all when
// the file is shorter), and checks it against the file's length `fileSize`. With kOk the rows
// that are converted lie within the file; the last one needs no padding.
BmpStatus ReadBmpLayout(std::string_view header, std::uint64_t fileSize, BmpLayout& layout);

// Converts `rowCount` rows of the file, the first of them file row `firstRow`, from `rows`
// (rowStride bytes apart) into `rgba`: width x height pixels of R, G, B, 0 with the bottom row
// first, zero-filled beforehand. 8 bits per pixel give grey (v, v, v, 0) whatever the colour
// table says, 24 and 32 bits give the colour without alpha, other depths leave the pixels at
// zero and read nothing.
void ConvertBmpRows(const std::uint8_t* rows, std::int32_t firstRow, std::int32_t rowCount,
                    const BmpLayout& layout, std::uint8_t* rgba);

}  // namespace tovmar
