// The history of the morph weights that undo and redo walk: each step holds the weights of every
// target of every part before and after one change (a slider's whole movement, a typed value, a
// reset, an appearance file, the morph dialog's changes).
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace tovmar {

class LlmMesh;

// The weights of every part's targets, part by part in list order.
using WeightSnapshot = std::vector<std::vector<float>>;

// The weights of `parts` (none may be null).
WeightSnapshot TakeWeights(const std::vector<const LlmMesh*>& parts);

// Sets the weights of `parts` from `weights`; parts and targets beyond either end are left alone.
void PutWeights(const WeightSnapshot& weights, const std::vector<LlmMesh*>& parts);

// Whether two snapshots hold the same weights, bit for bit (a NaN equals the same NaN).
bool SameWeights(const WeightSnapshot& a, const WeightSnapshot& b);

class WeightHistory {
 public:
  // The oldest steps go beyond this many.
  static constexpr std::size_t kMaxSteps = 500;

  // Records the change from `before` to `after` as one step and forgets the steps that were
  // undone. A change that changes nothing is no step. Returns whether a step was recorded.
  bool Record(WeightSnapshot before, WeightSnapshot after);

  bool CanUndo() const { return m_next > 0; }
  bool CanRedo() const { return m_next < m_steps.size(); }

  // The weights to go back to (the last step's `before`), or nothing at the start of the history.
  std::optional<WeightSnapshot> Undo();
  // The weights to go forward to (the next step's `after`), or nothing at its end.
  std::optional<WeightSnapshot> Redo();

  // Forgets every step, as when other meshes replace the ones the steps were taken from.
  void Clear();

 private:
  struct Step {
    WeightSnapshot before;
    WeightSnapshot after;
  };
  std::vector<Step> m_steps;
  // The steps before this one are done; those from it on were undone.
  std::size_t m_next = 0;
};

}  // namespace tovmar
