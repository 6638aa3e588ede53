// The four-at-a-time scans find a float that is not a finite number wherever it lies: in every
// lane, in the words after the last whole group of four, and only in the parts of a morph record
// that the deformation uses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "mesh/FloatScan.h"
#include "mesh/LlmMesh.h"

namespace tovmar {
namespace {

const float kSpoilers[] = {std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity()};

TEST(FloatScan, CountsEachNonFiniteFloatAtEveryPositionAndLength) {
  for (std::size_t length = 0; length <= 9; ++length) {
    EXPECT_EQ(CountNonFiniteFloats(std::vector<float>(length, 1.0f).data(), length), 0u);
    for (std::size_t at = 0; at < length; ++at) {
      for (const float spoiler : kSpoilers) {
        // The largest finite float and a denormal around it must not count.
        std::vector<float> values(length, std::numeric_limits<float>::max());
        if (at > 0) values[at - 1] = std::numeric_limits<float>::denorm_min();
        values[at] = spoiler;
        EXPECT_EQ(CountNonFiniteFloats(values.data(), length), 1u) << length << " " << at;
      }
    }
  }
  std::vector<float> all(7, -std::numeric_limits<float>::infinity());
  EXPECT_EQ(CountNonFiniteFloats(all.data(), all.size()), 7u);
}

TEST(FloatScan, FindsNonFiniteDeltasOnlyInTheUsedPartsOfAnyRecord) {
  constexpr std::size_t kWords = sizeof(MorphVertex) / 4;
  // Word 0 is the vertex index; words 7 to 9 the binormal delta, which the deformation ignores.
  const bool looked[kWords] = {false, true,  true,  true,  true, true,
                               true,  false, false, false, true, true};
  for (std::size_t record = 0; record < 3; ++record) {
    for (std::size_t word = 0; word < kWords; ++word) {
      MorphRecords records(3);
      const float spoiler = kSpoilers[word % 3];
      std::memcpy(reinterpret_cast<unsigned char*>(&records[record]) + 4 * word, &spoiler, 4);
      EXPECT_EQ(AnyNonFiniteDelta(records.data(), records.size()), looked[word])
          << record << " " << word;
    }
  }
  EXPECT_FALSE(AnyNonFiniteDelta(nullptr, 0));
}

}  // namespace
}  // namespace tovmar
