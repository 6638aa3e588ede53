#include "mesh/ContextTextures.h"

#include <algorithm>

namespace tovmar {

std::uint32_t ContextTextures::NameOf(std::uint64_t generation) const {
  for (const Entry& entry : m_entries) {
    if (entry.generation == generation) return entry.name;
  }
  return 0;
}

void ContextTextures::Add(std::uint64_t generation, std::uint32_t name) {
  m_entries.push_back({generation, name});
  ++m_uploads;
}

std::vector<std::uint32_t> ContextTextures::TakeAllBut(const std::vector<std::uint64_t>& kept) {
  std::vector<std::uint32_t> names;
  std::erase_if(m_entries, [&](const Entry& entry) {
    if (std::find(kept.begin(), kept.end(), entry.generation) != kept.end()) return false;
    names.push_back(entry.name);
    return true;
  });
  return names;
}

}  // namespace tovmar
