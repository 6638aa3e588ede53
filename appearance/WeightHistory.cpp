#include "appearance/WeightHistory.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "mesh/LlmMesh.h"

namespace tovmar {

WeightSnapshot TakeWeights(const std::vector<const LlmMesh*>& parts) {
  WeightSnapshot weights;
  weights.reserve(parts.size());
  for (const LlmMesh* part : parts) {
    std::vector<float>& own = weights.emplace_back();
    own.reserve(part->morphTargets.size());
    for (const MorphTarget& target : part->morphTargets) own.push_back(target.weight);
  }
  return weights;
}

void PutWeights(const WeightSnapshot& weights, const std::vector<LlmMesh*>& parts) {
  const std::size_t partCount = std::min(weights.size(), parts.size());
  for (std::size_t p = 0; p < partCount; ++p) {
    std::vector<MorphTarget>& targets = parts[p]->morphTargets;
    const std::size_t count = std::min(weights[p].size(), targets.size());
    for (std::size_t t = 0; t < count; ++t) targets[t].weight = weights[p][t];
  }
}

bool SameWeights(const WeightSnapshot& a, const WeightSnapshot& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t p = 0; p < a.size(); ++p) {
    if (a[p].size() != b[p].size()) return false;
    if (!a[p].empty() && std::memcmp(a[p].data(), b[p].data(), a[p].size() * sizeof(float)) != 0) {
      return false;
    }
  }
  return true;
}

bool WeightHistory::Record(WeightSnapshot before, WeightSnapshot after) {
  if (SameWeights(before, after)) return false;
  m_steps.resize(m_next);
  m_steps.push_back({std::move(before), std::move(after)});
  if (m_steps.size() > kMaxSteps) m_steps.erase(m_steps.begin());
  m_next = m_steps.size();
  return true;
}

std::optional<WeightSnapshot> WeightHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  --m_next;
  return m_steps[m_next].before;
}

std::optional<WeightSnapshot> WeightHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  ++m_next;
  return m_steps[m_next - 1].after;
}

void WeightHistory::Clear() {
  m_steps.clear();
  m_next = 0;
}

}  // namespace tovmar
