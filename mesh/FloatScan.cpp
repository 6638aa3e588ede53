#include "mesh/FloatScan.h"

#include <cstring>

#include "mesh/LlmMesh.h"

namespace tovmar {

namespace {

// Four 32-bit words, worked on together. GCC and Clang give each operation as one vector
// instruction; elsewhere the words are taken one at a time.
#if defined(__GNUC__)
using Lanes = std::uint32_t __attribute__((vector_size(16)));
#else
struct Lanes {
  std::uint32_t w[4];

  template <typename Op>
  friend Lanes Each(Lanes a, Lanes b, Op op) {
    for (int i = 0; i < 4; ++i) a.w[i] = op(a.w[i], b.w[i]);
    return a;
  }
  friend Lanes operator&(Lanes a, Lanes b) {
    return Each(a, b, [](auto x, auto y) { return x & y; });
  }
  friend Lanes operator|(Lanes a, Lanes b) {
    return Each(a, b, [](auto x, auto y) { return x | y; });
  }
  friend Lanes operator+(Lanes a, Lanes b) {
    return Each(a, b, [](auto x, auto y) { return x + y; });
  }
  friend Lanes operator>>(Lanes a, int bits) {
    return Each(a, a, [bits](auto x, auto) { return x >> bits; });
  }
};
#endif

Lanes LoadLanes(const unsigned char* bytes) {
  Lanes lanes;
  std::memcpy(&lanes, bytes, sizeof lanes);
  return lanes;
}

// The four words of `lanes` as plain numbers.
struct Words {
  std::uint32_t w[4];
};
Words Unpack(Lanes lanes) {
  Words words;
  std::memcpy(words.w, &lanes, sizeof words.w);
  return words;
}

constexpr std::uint32_t kExponent = 0x7F800000u;
constexpr std::uint32_t kExponentOne = 0x00800000u;
constexpr Lanes kOnes = {kExponentOne, kExponentOne, kExponentOne, kExponentOne};

// Adding one to a full exponent (all its bits set: a float that is not a finite number) reaches
// the top bit of its word, which no other exponent does. `mask` keeps the exponents to look at.
Lanes FullExponents(Lanes words, Lanes mask) {
  return (words & mask) + kOnes;
}

}  // namespace

std::uint64_t CountNonFiniteFloats(const void* words, std::size_t count) {
  constexpr Lanes kAll = {kExponent, kExponent, kExponent, kExponent};
  const auto* bytes = static_cast<const unsigned char*>(words);
  // Each lane counts up to 2^32 - 1; a mesh file holds far fewer floats.
  Lanes found = {};
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    found = found + (FullExponents(LoadLanes(bytes + 4 * i), kAll) >> 31);
  }
  if (i < count) {
    // The last words, padded with zeros (a zero is a finite number).
    unsigned char tail[sizeof(Lanes)] = {};
    std::memcpy(tail, bytes + 4 * i, 4 * (count - i));
    found = found + (FullExponents(LoadLanes(tail), kAll) >> 31);
  }
  const Words w = Unpack(found);
  return std::uint64_t{w.w[0]} + w.w[1] + w.w[2] + w.w[3];
}

bool AnyNonFiniteDelta(const MorphVertex* records, std::size_t count) {
  static_assert(sizeof(MorphVertex) == 3 * sizeof(Lanes), "a record is three runs of four words");
  // Index and position delta; normal delta and binormal x; binormal y and z, texture delta.
  constexpr Lanes kMask0 = {0, kExponent, kExponent, kExponent};
  constexpr Lanes kMask1 = {kExponent, kExponent, kExponent, 0};
  constexpr Lanes kMask2 = {0, 0, kExponent, kExponent};
  const auto* bytes = reinterpret_cast<const unsigned char*>(records);
  Lanes found0 = {};
  Lanes found1 = {};
  Lanes found2 = {};
  for (std::size_t r = 0; r < count; ++r, bytes += sizeof(MorphVertex)) {
    found0 = found0 | FullExponents(LoadLanes(bytes), kMask0);
    found1 = found1 | FullExponents(LoadLanes(bytes + 16), kMask1);
    found2 = found2 | FullExponents(LoadLanes(bytes + 32), kMask2);
  }
  const Words w = Unpack(found0 | found1 | found2);
  return ((w.w[0] | w.w[1] | w.w[2] | w.w[3]) >> 31) != 0;
}

}  // namespace tovmar
