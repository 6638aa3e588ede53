// A read-only memory map of an open file that no other program changes, such as the texture
// load's unnamed temporary file: its bytes are read in place instead of being copied out first.
#pragma once

#include <cstdint>
#include <cstdio>

namespace tovmar {

class MappedFile {
 public:
  // Maps the first `size` bytes of `file`, which must hold at least that many.
  MappedFile(std::FILE* file, std::uint64_t size);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // The mapped bytes; nullptr when the file could not be mapped, or where the system offers no
  // mapping here (the caller reads the file instead).
  const std::uint8_t* Data() const { return m_data; }

 private:
  const std::uint8_t* m_data = nullptr;
  std::uint64_t m_size = 0;
};

}  // namespace tovmar
