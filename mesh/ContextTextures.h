// The textures that one rendering context holds, each made from the pixels of one generation of
// a texture object, so that a picture is put into the context once and drawn from there until
// it changes. The names are the context's own and go with it: forgetting the record needs no
// drawing call. Contexts that share their textures share one record, and may draw on several
// threads at once: whoever reads or changes the record holds it meanwhile (Hold).
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace tovmar {

class ContextTextures {
 public:
  // Held from looking a picture up until it is in the context, so that contexts sharing the
  // record put each picture in once.
  [[nodiscard]] std::unique_lock<std::mutex> Hold() { return std::unique_lock(m_mutex); }

  // The context's name for the pixels of `generation`; 0 when it holds none.
  std::uint32_t NameOf(std::uint64_t generation) const;

  // Records that the context now holds the pixels of `generation` under `name`.
  void Add(std::uint64_t generation, std::uint32_t name);

  // Removes the entries whose generation is not in `kept` and returns their names, which the
  // caller deletes in the context.
  std::vector<std::uint32_t> TakeAllBut(const std::vector<std::uint64_t>& kept);

  // How many pictures were put into the context in all.
  std::size_t Uploads() const { return m_uploads; }

 private:
  struct Entry {
    std::uint64_t generation;
    std::uint32_t name;
  };
  std::mutex m_mutex;
  std::vector<Entry> m_entries;
  std::size_t m_uploads = 0;
};

}  // namespace tovmar
