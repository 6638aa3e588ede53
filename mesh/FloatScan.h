// Looks for floats that are not finite numbers in arrays just read from a mesh file. The scans
// run over nearly every byte of a file, so they look at four 32-bit words at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tovmar {

struct MorphVertex;

// How many of the `count` 32-bit words at `words` hold a float that is not a finite number.
std::uint64_t CountNonFiniteFloats(const void* words, std::size_t count);

// Whether any of `count` records has a position, normal or texture-coordinate delta that is not
// a finite number. The vertex index and the unused binormal delta are not looked at.
bool AnyNonFiniteDelta(const MorphVertex* records, std::size_t count);

}  // namespace tovmar
