// What the tests of Tovmar's own picture decoders share: colours, and the decoded picture turned
// into R, G, B bytes with the top row first.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/texture/TestImages.h"
#include "texture/decode/BgrPicture.h"

namespace tovmar {

using Rgb = std::array<std::uint8_t, 3>;

inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

using PictureDecoder = bool (*)(std::string_view, BgrPicture&);

// The picture `decode` makes of `bytes`, as R, G, B bytes with the top row first, or nothing
// when it refuses them; expects its pixels to fill exactly its size.
std::optional<Picture> DecodeWith(PictureDecoder decode, const std::string& bytes);

// Expects `decode` to make a picture of `width` x `height` with `colours` (top row first) of
// `bytes`.
void ExpectDecodes(PictureDecoder decode, const std::string& bytes, std::int32_t width,
                   std::int32_t height, const std::vector<Rgb>& colours);

}  // namespace tovmar
