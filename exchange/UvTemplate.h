// The texture layout of a mesh as a picture to paint on: every triangle's edges drawn as lines
// between its texture coordinates.
#pragma once

#include <cstdint>

#include "exchange/RgbaPicture.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

inline constexpr Rgba kUvLineColour{0, 0, 0, 255};

// An edge whose ends lie this many texture widths or heights apart is left out: drawn wrapped,
// it would only cover the picture again and again.
inline constexpr double kMaxUvRepeats = 8.0;

// The most pixels the lines may take in all, overlaps counted, so that drawing takes a second or
// two at most. A real mesh needs a small share of it even at 8192 x 8192; only a mesh of many
// long edges needs more.
inline constexpr std::uint64_t kMaxUvLinePixels = std::uint64_t{1} << 28;

// Draws every edge of every triangle of `mesh` onto `picture` as a line one pixel wide in
// kUvLineColour, without blending, where the picture lies on the mesh as its texture: (u, v) is
// the point (u x width, (1 - v) x height) from the top-left corner, so v = 0 is the bottom row.
// An edge within 0 to 1 on both axes is drawn as it is, with ends on the right or bottom border
// in the last column or row; any other edge wraps around the picture as the repeating texture
// does. Left out: triangles that name a vertex the mesh lacks (as when the mesh is drawn), and
// edges with a coordinate that is not a finite number or that span more than kMaxUvRepeats.
// Returns false and draws nothing when the lines would take more than kMaxUvLinePixels.
bool DrawUvEdges(const LlmMesh& mesh, RgbaPicture& picture);

}  // namespace tovmar
