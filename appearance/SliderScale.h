// The arithmetic of one morph target's slider: whole positions from 0 to the span, centred on
// weight 0, one position per hundredth of weight. Every step is rounded exactly as the dialog
// has always rounded it, so that weights and positions come out as users know them: 0.13 shows
// at 213, position 1 sets -1.99, and -1.99 shows at 0.
#pragma once

namespace tovmar {

class SliderScale {
 public:
  // The scale of a target with these weight limits (2.0 and -2.0 for every loaded target).
  SliderScale(float maxWeight, float minWeight);

  // 100 x maxWeight + |100 x minWeight|, as a float: 400 for a loaded target.
  float Span() const { return m_span; }
  // The slider's range is 0 .. RangeMax(): the span truncated.
  int RangeMax() const;
  // The position that shows `weight`, truncated toward zero; outside the range for a weight
  // beyond the limits, saturated at the int range.
  int PositionFor(float weight) const;
  // The weight that `position` sets.
  float WeightAt(int position) const;
  // The arrow-key step and the page-key step: 3 and 7 for a span of 400 (the float constants
  // 0.01 and 0.02 are a little below a hundredth and a fiftieth).
  int LineSize() const;
  int PageSize() const;

 private:
  float m_span;
};

}  // namespace tovmar
