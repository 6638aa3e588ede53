// Writing a picture as an uncompressed bottom-up BMP file of 24 bits per pixel, the layout that
// the texture load reads back.
#pragma once

#include <cstdint>
#include <cstdio>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Writes `picture`, whose pixels are already in the file's order, to `file` at its current
// position. Returns false for a side of zero or below, for a picture too large for the format,
// or when the bytes cannot all be written.
bool WriteBmp24(std::FILE* file, const BgrPicture& picture);

// The rows of a picture of width x height B, G, R pixels, bottom row first, as BgrPicture keeps
// them, wherever they are held.
struct BgrRows {
  const std::uint8_t* bgr = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The two parts of WriteBmp24 for a file written piece by piece, each at its place in the file
// that begins at `fileStart`: the headers of a width x height picture, and rows [firstRow,
// firstRow + rowCount) counted from the bottom, padding included. False where WriteBmp24 would
// refuse the picture, for rows outside it, or when a byte cannot be written.
bool WriteBmpHeaders(std::FILE* file, long fileStart, std::int32_t width, std::int32_t height);
bool WriteBmpRows(std::FILE* file, long fileStart, const BgrRows& rows, std::uint32_t firstRow,
                  std::uint32_t rowCount);

}  // namespace tovmar
