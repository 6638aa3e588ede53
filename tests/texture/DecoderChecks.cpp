#include "tests/texture/DecoderChecks.h"

#include <gtest/gtest.h>

namespace tovmar {

std::optional<Picture> DecodeWith(PictureDecoder decode, const std::string& bytes) {
  BgrPicture picture;
  if (!decode(bytes, picture)) return std::nullopt;
  EXPECT_EQ(picture.bgr.size(),
            3 * static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
  return FromBmpOrder(picture);
}

void ExpectDecodes(PictureDecoder decode, const std::string& bytes, std::int32_t width,
                   std::int32_t height, const std::vector<Rgb>& colours) {
  const std::optional<Picture> got = DecodeWith(decode, bytes);
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->width, width);
  EXPECT_EQ(got->height, height);
  std::vector<std::uint8_t> want;
  for (const Rgb& c : colours) want.insert(want.end(), c.begin(), c.end());
  EXPECT_EQ(got->rgb, want);
}

}  // namespace tovmar
