// A bounds-checked cursor over bytes held in memory, with the interface every byte reader of the
// mesh file parser shares.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tovmar {

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

  std::uint64_t Remaining() const { return m_bytes.size() - m_pos; }

  // Copies up to `size` bytes into `out`, zero-fills what the input cannot supply, and returns
  // how many bytes came from the input.
  std::size_t Read(void* out, std::size_t size) {
    const std::size_t n = std::min(size, m_bytes.size() - m_pos);
    if (n > 0) std::memcpy(out, m_bytes.data() + m_pos, n);
    if (n < size) std::memset(static_cast<char*>(out) + n, 0, size - n);
    m_pos += n;
    return n;
  }

 private:
  std::string_view m_bytes;
  std::size_t m_pos = 0;
};

}  // namespace tovmar
