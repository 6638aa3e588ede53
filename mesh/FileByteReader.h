// A cursor over an open file that reads no further than the size the file had when it was
// opened.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tovmar {

class FileByteReader {
 public:
  // `file` is read from its current position, taken as offset 0 of `size` bytes.
  FileByteReader(std::FILE* file, std::uint64_t size) : m_file(file), m_size(size) {}

  // The bytes left of the size at open; a tail the file has lost since still counts, as zeros.
  std::uint64_t Remaining() const { return m_size - m_pos; }

  // Reads up to `size` bytes into `out`, zero-fills what the file cannot supply (also when it
  // has shrunk since it was opened), and returns how many bytes came from the file.
  std::size_t Read(void* out, std::size_t size) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, Remaining()));
    const std::size_t got = n > 0 ? std::fread(out, 1, n, m_file) : 0;
    if (got < size) std::memset(static_cast<char*>(out) + got, 0, size - got);
    m_pos += n;
    return got;
  }

 private:
  std::FILE* m_file;
  std::uint64_t m_size;
  std::uint64_t m_pos = 0;
};

}  // namespace tovmar
