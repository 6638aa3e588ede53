// Arrays that a read fills as soon as they are made. `MakeUnwritten` makes one whose elements'
// bytes are left as the allocation had them, so that the read writes each byte once instead of
// after a zero-fill. Every other way of making or growing such an array (a count, resize,
// emplace_back) initialises the elements as a plain vector does.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace tovmar {

// What an element is made from when it is to be left unwritten.
struct Unwritten {};

template <typename T>
class FillByReadAllocator : public std::allocator<T> {
 public:
  using value_type = T;
  template <typename U>
  struct rebind {
    using other = FillByReadAllocator<U>;
  };

  FillByReadAllocator() = default;
  template <typename U>
  explicit FillByReadAllocator(const FillByReadAllocator<U>&) noexcept {}

  // Only types whose objects come into being with their storage may stay unwritten.
  template <typename U>
  void construct(U*, Unwritten) noexcept {
    static_assert(std::is_trivially_copyable_v<U> && std::is_trivially_destructible_v<U>);
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

template <typename T>
using FillByReadVector = std::vector<T, FillByReadAllocator<T>>;

namespace detail {

// A run of `Unwritten` markers, as the range a vector is made from.
class UnwrittenIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = Unwritten;
  using difference_type = std::ptrdiff_t;
  using pointer = const Unwritten*;
  using reference = Unwritten;

  UnwrittenIterator() = default;
  explicit UnwrittenIterator(std::size_t position) : m_position(position) {}

  Unwritten operator*() const { return {}; }
  UnwrittenIterator& operator++() {
    ++m_position;
    return *this;
  }
  UnwrittenIterator operator++(int) {
    UnwrittenIterator before = *this;
    ++m_position;
    return before;
  }
  friend bool operator==(UnwrittenIterator, UnwrittenIterator) = default;

 private:
  std::size_t m_position = 0;
};

}  // namespace detail

// A vector of `count` unwritten elements.
template <typename T>
FillByReadVector<T> MakeUnwritten(std::size_t count) {
  return FillByReadVector<T>(detail::UnwrittenIterator(0), detail::UnwrittenIterator(count));
}

}  // namespace tovmar
