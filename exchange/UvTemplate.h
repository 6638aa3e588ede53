// The texture layout of a mesh as a picture to paint on: every triangle's edges drawn as lines
// between its texture coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "exchange/RgbaPicture.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

// The template's empty pixels: white, so that a picture shown without its alpha is a white sheet,
// but transparent, so that a painter's layer beneath shows through.
inline constexpr Rgba kUvClearColour{255, 255, 255, 0};

// How the lines are drawn: inner edges in `line`, seams (edges where the layout is cut, so that
// the surface continues elsewhere in the picture) in `seam`, both `width` pixels wide.
struct UvLineStyle {
  Rgba line{0, 0, 0, 255};
  Rgba seam{255, 0, 0, 255};
  int width = 1;
};

inline constexpr int kMaxUvLineWidth = 64;

// An edge whose ends lie this many texture widths or heights apart is left out: drawn wrapped,
// it would only cover the picture again and again.
inline constexpr double kMaxUvRepeats = 8.0;

// The most pixels the lines may take in all, overlaps counted, so that drawing takes a second or
// two at most. A real mesh needs a small share of it even at 8192 x 8192; only a mesh of many
// long edges needs more.
inline constexpr std::uint64_t kMaxUvLinePixels = std::uint64_t{1} << 28;

// Draws every edge of every triangle of each of `meshes` onto `picture` as a line in `style`
// (a square of style.width pixels a side at each step, the step's pixel at its centre, or up and
// left of it for an even width), without blending, seams over inner edges, where the picture lies
// on the mesh as its texture: (u, v) is the point (u x width, (1 - v) x height) from the top-left
// corner, so v = 0 is the bottom row. An edge within 0 to 1 on both axes is drawn as it is, with
// ends on the right or bottom border in the last column or row; any other edge wraps around the
// picture as the repeating texture does. Left out: triangles that name a vertex the mesh lacks (as
// when the mesh is drawn), and edges with a coordinate that is not a finite number or that span
// more than kMaxUvRepeats. A seam is an edge of a single triangle whose two ends, by position, are
// also the ends of another edge of a single triangle: the surface goes on across it at other
// texture coordinates. Returns false and draws nothing when the lines of all meshes would take more
// than kMaxUvLinePixels, each square counted whole. A width outside 1 to kMaxUvLineWidth counts
// as 1.
bool DrawUvEdges(const std::vector<const LlmMesh*>& meshes, const UvLineStyle& style,
                 RgbaPicture& picture);

}  // namespace tovmar
