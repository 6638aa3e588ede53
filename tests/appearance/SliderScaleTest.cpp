#include "appearance/SliderScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tovmar {
namespace {

// Every loaded morph target has the limits 2.0 and -2.0.
const SliderScale kLoaded(2.0f, -2.0f);

TEST(SliderScaleTest, LoadedTargetsSpanFourHundredPositionsCentredOnZero) {
  EXPECT_EQ(kLoaded.Span(), 400.0f);
  EXPECT_EQ(kLoaded.RangeMax(), 400);
  EXPECT_EQ(kLoaded.PositionFor(0.0f), 200);
  EXPECT_EQ(kLoaded.WeightAt(200), 0.0f);
  // The scale stays centred on 0 whatever the limits; the lower limit counts by its size.
  const SliderScale lopsided(1.0f, -3.0f);
  EXPECT_EQ(lopsided.RangeMax(), 400);
  EXPECT_EQ(lopsided.PositionFor(0.0f), 200);
  EXPECT_EQ(SliderScale(1.0f, 3.0f).RangeMax(), 400);
  EXPECT_EQ(SliderScale(0.5f, -0.5f).RangeMax(), 100);
}

TEST(SliderScaleTest, PositionsSetWeightsInHundredthsToTheLimits) {
  EXPECT_EQ(kLoaded.WeightAt(250), 0.5f);
  EXPECT_EQ(kLoaded.WeightAt(0), -2.0f);
  EXPECT_EQ(kLoaded.WeightAt(400), 2.0f);
  EXPECT_EQ(kLoaded.WeightAt(1), -1.99f);
  EXPECT_EQ(kLoaded.WeightAt(213), 0.13f);
  EXPECT_EQ(kLoaded.WeightAt(199), -0.01f);
}

TEST(SliderScaleTest, WeightsShowAtTruncatedPositions) {
  EXPECT_EQ(kLoaded.PositionFor(0.13f), 213);
  EXPECT_EQ(kLoaded.PositionFor(0.5f), 250);
  EXPECT_EQ(kLoaded.PositionFor(2.0f), 400);
  EXPECT_EQ(kLoaded.PositionFor(-2.0f), 0);
  // Position 1 sets -1.99, which shows one position lower: 0.99999905 truncates to 0.
  EXPECT_EQ(kLoaded.PositionFor(kLoaded.WeightAt(1)), 0);
  EXPECT_EQ(kLoaded.PositionFor(0.004f), 200);
  EXPECT_EQ(kLoaded.PositionFor(-0.004f), 199);
}

TEST(SliderScaleTest, WeightsBeyondTheLimitsMapOutsideTheRange) {
  EXPECT_EQ(kLoaded.PositionFor(3.0f), 500);
  EXPECT_EQ(kLoaded.PositionFor(-2.5f), -50);
  // An appearance file can set any float: the position saturates instead of overflowing.
  EXPECT_EQ(kLoaded.PositionFor(1e30f), std::numeric_limits<int>::max());
  EXPECT_EQ(kLoaded.PositionFor(-std::numeric_limits<float>::infinity()),
            std::numeric_limits<int>::min());
  EXPECT_EQ(kLoaded.PositionFor(std::nanf("")), std::numeric_limits<int>::min());
}

TEST(SliderScaleTest, KeyStepsFallJustShortOfAHundredthAndAFiftieth) {
  EXPECT_EQ(kLoaded.LineSize(), 3);
  EXPECT_EQ(kLoaded.PageSize(), 7);
  const SliderScale wide(5.0f, -5.0f);
  EXPECT_EQ(wide.LineSize(), 9);
  EXPECT_EQ(wide.PageSize(), 19);
}

}  // namespace
}  // namespace tovmar
