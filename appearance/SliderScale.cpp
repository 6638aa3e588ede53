#include "appearance/SliderScale.h"

#include <cmath>
#include <limits>

namespace tovmar {

namespace {

// The single-precision constants of one step and of a page step, widened where they are used.
constexpr double kStep = static_cast<double>(0.01f);
constexpr double kPageStep = static_cast<double>(0.02f);

// Truncates toward zero like a plain conversion, but where a plain conversion is undefined it
// saturates at the int range, and NaN (an appearance file can set one) becomes the lowest int.
int TruncateToInt(double value) {
  constexpr int kLowest = std::numeric_limits<int>::min();
  constexpr int kHighest = std::numeric_limits<int>::max();
  if (std::isnan(value) || value <= kLowest) return kLowest;
  if (value >= kHighest) return kHighest;
  return static_cast<int>(value);
}

}  // namespace

SliderScale::SliderScale(float maxWeight, float minWeight)
    : m_span(static_cast<float>(100.0 * maxWeight + std::fabs(100.0 * minWeight))) {}

int SliderScale::RangeMax() const {
  return TruncateToInt(m_span);
}

int SliderScale::PositionFor(float weight) const {
  // Worked in double and rounded to float once: -1.99 gives 0.99999905, not 1.
  return TruncateToInt(static_cast<float>(100.0 * weight + m_span / 2.0));
}

float SliderScale::WeightAt(int position) const {
  return static_cast<float>((position - m_span / 2.0) * kStep);
}

int SliderScale::LineSize() const {
  return TruncateToInt(m_span * kStep);
}

int SliderScale::PageSize() const {
  return TruncateToInt(m_span * kPageStep);
}

}  // namespace tovmar
