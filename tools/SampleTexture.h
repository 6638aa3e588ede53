// The sample texture: a picture whose regions line up with the sample body's cylindrical unwrap,
// so that both the texture mapping and the body's orientation show at a glance.
#pragma once

#include <cstdint>
#include <vector>

namespace tovmar::sample {

constexpr int kTextureSize = 256;

// kTextureSize x kTextureSize pixels of R, G, B bytes, top row first: skin below the waist,
// a dark belt at the waist, a blue shirt with a row of white buttons down the front above it,
// skin again from the neck up, and a faint grid every 32 pixels over everything.
std::vector<std::uint8_t> MakeSampleTexturePixels();

}  // namespace tovmar::sample
