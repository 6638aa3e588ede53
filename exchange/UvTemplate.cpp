#include "exchange/UvTemplate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tovmar {

namespace {

using VertexPair = std::pair<std::uint32_t, std::uint32_t>;

struct MeshEdge {
  VertexPair vertices;
  bool seam = false;
};

// The two ends of an edge by position, the lesser first, as bit-exact coordinates.
using PositionPair = std::array<float, 6>;

PositionPair Positions(const LlmMesh& mesh, const VertexPair& edge) {
  const Vec3& p = mesh.coords[edge.first];
  const Vec3& q = mesh.coords[edge.second];
  const std::array<float, 3> a{p.x, p.y, p.z}, b{q.x, q.y, q.z};
  const auto& [low, high] = std::minmax(a, b);
  return {low[0], low[1], low[2], high[0], high[1], high[2]};
}

// The two vertices of every edge of every whole triangle, each edge once, and whether it is a
// seam; a vertex repeated in a triangle makes no edge.
std::vector<MeshEdge> TriangleEdges(const LlmMesh& mesh, std::size_t vertexCount) {
  const std::size_t indexCount = std::min(std::size_t{mesh.numFaces} * 3, mesh.faces.size());
  std::vector<VertexPair> all;
  all.reserve(indexCount);
  for (std::size_t t = 0; t + 2 < indexCount; t += 3) {
    const std::uint32_t a = mesh.faces[t], b = mesh.faces[t + 1], c = mesh.faces[t + 2];
    if (a >= vertexCount || b >= vertexCount || c >= vertexCount) continue;
    for (const auto& [p, q] : {VertexPair{a, b}, VertexPair{b, c}, VertexPair{c, a}}) {
      if (p != q) all.emplace_back(std::min(p, q), std::max(p, q));
    }
  }
  std::sort(all.begin(), all.end());

  // Edges of a single triangle are the layout's borders; those whose ends by position border
  // another single triangle elsewhere are seams.
  std::vector<MeshEdge> edges;
  std::vector<std::pair<PositionPair, std::size_t>> borders;
  const bool positioned = mesh.coords.size() >= vertexCount;
  for (std::size_t i = 0; i < all.size();) {
    std::size_t next = i + 1;
    while (next < all.size() && all[next] == all[i]) ++next;
    if (next - i == 1 && positioned) borders.emplace_back(Positions(mesh, all[i]), edges.size());
    edges.push_back({all[i], false});
    i = next;
  }
  std::sort(borders.begin(), borders.end());
  for (std::size_t i = 0; i < borders.size();) {
    std::size_t next = i + 1;
    while (next < borders.size() && borders[next].first == borders[i].first) ++next;
    if (next - i > 1) {
      for (std::size_t k = i; k < next; ++k) edges[borders[k].second].seam = true;
    }
    i = next;
  }
  return edges;
}

// The remainder of `value` by `size`, from 0 to size - 1 also for negative values.
std::int64_t Wrap(std::int64_t value, std::int64_t size) {
  const std::int64_t r = value % size;
  return r < 0 ? r + size : r;
}

// An edge in pixel coordinates from the picture's top-left corner.
struct PixelEdge {
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
  // Within the picture, ends on the right or bottom border included; otherwise it wraps.
  bool inside = true;
  bool seam = false;
};

std::int64_t Cell(double t) {
  return static_cast<std::int64_t>(std::floor(t));
}

// How many pixels the edge covers: one for each column (or row) along its longer axis.
std::uint64_t PixelCount(const PixelEdge& e) {
  const bool acrossColumns = std::abs(e.x1 - e.x0) >= std::abs(e.y1 - e.y0);
  const std::int64_t span = acrossColumns ? Cell(e.x1) - Cell(e.x0) : Cell(e.y1) - Cell(e.y0);
  return static_cast<std::uint64_t>(span < 0 ? -span : span) + 1;
}

// The edge between two texture coordinates on a width x height picture, or nothing when it is
// left out.
std::optional<PixelEdge> ToPixels(Vec2 from, Vec2 to, int width, int height) {
  double u0 = from.u, v0 = from.v, u1 = to.u, v1 = to.v;
  if (!std::isfinite(u0) || !std::isfinite(v0) || !std::isfinite(u1) || !std::isfinite(v1)) {
    return std::nullopt;
  }
  const auto within = [](double t) { return t >= 0.0 && t <= 1.0; };
  PixelEdge e;
  e.inside = within(u0) && within(v0) && within(u1) && within(v1);
  if (!e.inside) {
    // Moved by whole repeats so that the edge starts in the first one; its pixels wrap.
    const double shiftU = std::floor(std::min(u0, u1));
    const double shiftV = std::floor(std::min(v0, v1));
    u0 -= shiftU;
    u1 -= shiftU;
    v0 -= shiftV;
    v1 -= shiftV;
    if (std::max(u0, u1) > kMaxUvRepeats || std::max(v0, v1) > kMaxUvRepeats) {
      return std::nullopt;
    }
  }
  e.x0 = u0 * width;
  e.y0 = (1.0 - v0) * height;
  e.x1 = u1 * width;
  e.y1 = (1.0 - v1) * height;
  return e;
}

void DrawEdge(const PixelEdge& e, const UvLineStyle& style, int lineWidth, RgbaPicture& picture) {
  const std::int64_t width = picture.width, height = picture.height;
  const Rgba colour = e.seam ? style.seam : style.line;
  const std::int64_t before = (lineWidth - 1) / 2, after = lineWidth / 2;
  // A square around each step's pixel: within the picture for an edge inside it (clipped at the
  // borders), wrapped around it for one that wraps.
  const auto plot = [&](std::int64_t column, std::int64_t row) {
    if (e.inside) {
      column = std::min(column, width - 1);
      row = std::min(row, height - 1);
    }
    for (std::int64_t y = row - before; y <= row + after; ++y) {
      for (std::int64_t x = column - before; x <= column + after; ++x) {
        if (e.inside && (x < 0 || y < 0 || x >= width || y >= height)) continue;
        picture.Set(static_cast<int>(Wrap(x, width)), static_cast<int>(Wrap(y, height)), colour);
      }
    }
  };

  // One pixel for each column (or row) along the longer axis; the other coordinate is the line's
  // at that pixel's centre, kept within the edge so that its ends land in their own pixels.
  const double dx = e.x1 - e.x0, dy = e.y1 - e.y0;
  if (std::abs(dx) >= std::abs(dy)) {
    const std::int64_t first = Cell(e.x0), last = Cell(e.x1), step = last >= first ? 1 : -1;
    for (std::int64_t column = first;; column += step) {
      const double x =
          std::clamp(static_cast<double>(column) + 0.5, std::min(e.x0, e.x1), std::max(e.x0, e.x1));
      plot(column, Cell(dx == 0.0 ? e.y0 : e.y0 + (x - e.x0) * dy / dx));
      if (column == last) break;
    }
  } else {
    const std::int64_t first = Cell(e.y0), last = Cell(e.y1), step = last >= first ? 1 : -1;
    for (std::int64_t row = first;; row += step) {
      const double y =
          std::clamp(static_cast<double>(row) + 0.5, std::min(e.y0, e.y1), std::max(e.y0, e.y1));
      plot(Cell(e.x0 + (y - e.y0) * dx / dy), row);
      if (row == last) break;
    }
  }
}

}  // namespace

bool DrawUvEdges(const std::vector<const LlmMesh*>& meshes, const UvLineStyle& style,
                 RgbaPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return true;
  const int lineWidth = style.width >= 1 && style.width <= kMaxUvLineWidth ? style.width : 1;
  const auto square = static_cast<std::uint64_t>(lineWidth) * static_cast<std::uint64_t>(lineWidth);

  // Every edge is measured before any is drawn.
  std::vector<PixelEdge> edges;
  std::uint64_t pixels = 0;
  for (const LlmMesh* mesh : meshes) {
    const std::size_t vertexCount =
        std::min(std::size_t{mesh->numVertices}, mesh->texCoords.size());
    for (const MeshEdge& edge : TriangleEdges(*mesh, vertexCount)) {
      const auto& [a, b] = edge.vertices;
      if (auto e =
              ToPixels(mesh->texCoords[a], mesh->texCoords[b], picture.width, picture.height)) {
        e->seam = edge.seam;
        edges.push_back(*e);
        pixels += PixelCount(*e) * square;
        if (pixels > kMaxUvLinePixels) return false;
      }
    }
  }
  // Seams last, so that an inner edge never covers one.
  std::stable_partition(edges.begin(), edges.end(), [](const PixelEdge& e) { return !e.seam; });
  for (const PixelEdge& e : edges) DrawEdge(e, style, lineWidth, picture);
  return true;
}

}  // namespace tovmar
