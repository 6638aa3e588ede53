// Bounds-checked little-endian reading: the integer reads every byte reader shares, and a cursor
// over bytes held in memory.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tovmar {

// The little-endian integer reads of a byte reader, made from its Read(): bytes the input cannot
// supply count as zero.
template <typename Reader>
class IntegerReads {
 public:
  std::uint8_t U8() { return static_cast<std::uint8_t>(Unsigned(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Unsigned(2)); }
  std::int32_t I32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(4))); }

 private:
  std::uint64_t Unsigned(std::size_t size) {
    std::uint8_t raw[8] = {};
    static_cast<Reader&>(*this).Read(raw, size);
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | raw[i];
    return value;
  }
};

class ByteReader : public IntegerReads<ByteReader> {
 public:
  explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

  std::size_t Remaining() const { return m_bytes.size() - m_pos; }

  // Copies up to `size` bytes into `out`, zero-fills what the input cannot supply, and returns
  // how many bytes came from the input.
  std::size_t Read(void* out, std::size_t size) {
    const std::size_t n = std::min(size, Remaining());
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
