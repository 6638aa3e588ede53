// The bytes of a texture picture: a vector whose elements are left as they are when it is made
// or grown without a value. Whoever makes a picture writes every byte of it, so zero-filling
// megabytes first would only cost time; ask for a value (`PixelBuffer(n, 0)`) to have one.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace tovmar {

template <typename T>
class DefaultInitAllocator : public std::allocator<T> {
 public:
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };

  using std::allocator<T>::allocator;

  // Made without a value: default-initialised, which for bytes is no write at all.
  template <typename U>
  void construct(U* at) noexcept(noexcept(::new (static_cast<void*>(at)) U)) {
    ::new (static_cast<void*>(at)) U;
  }

  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};

using PixelBuffer = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

}  // namespace tovmar
