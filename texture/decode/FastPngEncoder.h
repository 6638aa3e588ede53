// Encoding a picture as PNG file bytes at speed: every row filtered with "up", and the rows
// compressed a group at a time by ISA-L's deflate at its fastest level, which on drawn pictures
// takes a small part of the time of zlib's fastest setting for files of about the same size.
#pragma once

#include <cstdint>
#include <string>

namespace tovmar {

// The PNG file image of width x height pixels of `channels` bytes each (3: R, G, B; 4: R, G, B,
// A), top row first, read from `pixels`, which holds exactly that many bytes. Its chunks are the
// header, one data chunk and the end, so that equal pictures give equal bytes. Empty for a side
// of zero or below, for a picture of more than 1 GiB, when memory runs out or when the compressor
// refuses.
std::string EncodeFastPng(const std::uint8_t* pixels, int width, int height, int channels);

}  // namespace tovmar
