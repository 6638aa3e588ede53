// The pictures of the panel's two picture links: one 84 x 36 banner for each, 4 bytes a pixel
// (blue, green, red, 0), top row first.
#pragma once

#include <cstdint>
#include <vector>

namespace tovmar {

constexpr int kLinkPictureWidth = 84;
constexpr int kLinkPictureHeight = 36;

// A blue banner with a white avatar figure, for the home page.
std::vector<std::uint8_t> MakeHomePagePicture();

// A green banner with an open book, for the user guide.
std::vector<std::uint8_t> MakeGuidePicture();

}  // namespace tovmar
