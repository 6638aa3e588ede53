// A read-only view of a file's bytes, read at given offsets as little- or big-endian integers.
// Every read is checked against the end: a value that does not lie wholly within the bytes reads
// as 0, so that a damaged header can mislead a decoder but never make it read past the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tovmar {

class ByteView {
 public:
  ByteView() = default;
  explicit ByteView(std::string_view bytes)
      : m_data(reinterpret_cast<const std::uint8_t*>(bytes.data())), m_size(bytes.size()) {}

  std::size_t Size() const { return m_size; }

  // Whether `count` bytes from `at` lie within the view.
  bool Has(std::uint64_t at, std::uint64_t count) const {
    return at <= m_size && count <= m_size - at;
  }

  // The `count` bytes from `at`, or nullptr when they do not all lie within the view.
  const std::uint8_t* Span(std::uint64_t at, std::uint64_t count) const {
    return Has(at, count) ? m_data + at : nullptr;
  }

  // The bytes from `at` to the end; empty when `at` lies beyond it.
  std::string_view From(std::uint64_t at) const {
    if (at > m_size) return {};
    return {reinterpret_cast<const char*>(m_data) + at, m_size - static_cast<std::size_t>(at)};
  }

  bool StartsWith(std::string_view prefix) const { return From(0).starts_with(prefix); }

  std::uint32_t U8(std::uint64_t at) const { return Has(at, 1) ? m_data[at] : 0; }
  std::uint32_t Le16(std::uint64_t at) const { return Read(at, 2, false); }
  std::uint32_t Le32(std::uint64_t at) const { return Read(at, 4, false); }
  std::uint32_t Be16(std::uint64_t at) const { return Read(at, 2, true); }
  std::uint32_t Be32(std::uint64_t at) const { return Read(at, 4, true); }

 private:
  std::uint32_t Read(std::uint64_t at, std::size_t size, bool bigEndian) const {
    const std::uint8_t* p = Span(at, size);
    if (p == nullptr) return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
      value = (value << 8) | p[bigEndian ? i : size - 1 - i];
    }
    return value;
  }

  const std::uint8_t* m_data = nullptr;
  std::size_t m_size = 0;
};

// The 16-bit little-endian value at `p`, for pixel data whose bytes a ByteView's Span has
// already found within the view.
inline std::uint32_t LoadLe16(const std::uint8_t* p) {
  return p[0] | (std::uint32_t{p[1]} << 8);
}

}  // namespace tovmar
