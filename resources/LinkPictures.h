// The built-in data of the panel's two picture links: the project's two web addresses and one
// 84 x 36 banner picture for each, 4 bytes a pixel (blue, green, red, 0), top row first.
#pragma once

#include <cstdint>
#include <vector>

namespace tovmar {

constexpr int kLinkPictureWidth = 84;
constexpr int kLinkPictureHeight = 36;

// The project's home page, opened by the first link.
inline constexpr char kHomePageUrl[] = "https://tovmar.example.org/";
// The user guide, opened by the second link.
inline constexpr char kGuideUrl[] = "https://tovmar.example.org/guide/";

// A blue banner with a white avatar figure, for the home page.
std::vector<std::uint8_t> MakeHomePagePicture();

// A green banner with an open book, for the user guide.
std::vector<std::uint8_t> MakeGuidePicture();

}  // namespace tovmar
