#include "cli/UvTemplate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace tovmar::cli {

namespace {

using VertexPair = std::pair<std::uint32_t, std::uint32_t>;

// The two vertices of every edge of every whole triangle, each edge once; a vertex repeated in
// a triangle makes no edge.
std::vector<VertexPair> TriangleEdges(const LlmMesh& mesh, std::size_t vertexCount) {
  const std::size_t indexCount = std::min(std::size_t{mesh.numFaces} * 3, mesh.faces.size());
  std::vector<VertexPair> edges;
  edges.reserve(indexCount);
  for (std::size_t t = 0; t + 2 < indexCount; t += 3) {
    const std::uint32_t a = mesh.faces[t], b = mesh.faces[t + 1], c = mesh.faces[t + 2];
    if (a >= vertexCount || b >= vertexCount || c >= vertexCount) continue;
    for (const auto& [p, q] : {VertexPair{a, b}, VertexPair{b, c}, VertexPair{c, a}}) {
      if (p != q) edges.emplace_back(std::min(p, q), std::max(p, q));
    }
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

// The remainder of `value` by `size`, from 0 to size - 1 also for negative values.
std::int64_t Wrap(std::int64_t value, std::int64_t size) {
  const std::int64_t r = value % size;
  return r < 0 ? r + size : r;
}

void DrawEdge(Vec2 from, Vec2 to, RgbaPicture& picture) {
  double u0 = from.u, v0 = from.v, u1 = to.u, v1 = to.v;
  if (!std::isfinite(u0) || !std::isfinite(v0) || !std::isfinite(u1) || !std::isfinite(v1)) {
    return;
  }
  const auto within = [](double t) { return t >= 0.0 && t <= 1.0; };
  const bool inside = within(u0) && within(v0) && within(u1) && within(v1);
  if (!inside) {
    // Moved by whole repeats so that the edge starts in the first one; the pixels wrap below.
    const double shiftU = std::floor(std::min(u0, u1));
    const double shiftV = std::floor(std::min(v0, v1));
    u0 -= shiftU;
    u1 -= shiftU;
    v0 -= shiftV;
    v1 -= shiftV;
    if (std::max(u0, u1) > kMaxUvRepeats || std::max(v0, v1) > kMaxUvRepeats) return;
  }

  const std::int64_t width = picture.width, height = picture.height;
  const auto plot = [&](std::int64_t column, std::int64_t row) {
    if (inside) {
      column = std::min(column, width - 1);
      row = std::min(row, height - 1);
    } else {
      column = Wrap(column, width);
      row = Wrap(row, height);
    }
    picture.Set(static_cast<int>(column), static_cast<int>(row), kUvLineColour);
  };

  // Pixel coordinates from the top-left corner.
  const double x0 = u0 * static_cast<double>(width), y0 = (1.0 - v0) * static_cast<double>(height);
  const double x1 = u1 * static_cast<double>(width), y1 = (1.0 - v1) * static_cast<double>(height);
  const double dx = x1 - x0, dy = y1 - y0;
  const auto cell = [](double t) { return static_cast<std::int64_t>(std::floor(t)); };

  // One pixel for each column (or row) along the longer axis; the other coordinate is the line's
  // at that pixel's centre, kept within the edge so that its ends land in their own pixels.
  if (std::abs(dx) >= std::abs(dy)) {
    const std::int64_t first = cell(x0), last = cell(x1), step = last >= first ? 1 : -1;
    for (std::int64_t column = first;; column += step) {
      const double x =
          std::clamp(static_cast<double>(column) + 0.5, std::min(x0, x1), std::max(x0, x1));
      plot(column, cell(dx == 0.0 ? y0 : y0 + (x - x0) * dy / dx));
      if (column == last) break;
    }
  } else {
    const std::int64_t first = cell(y0), last = cell(y1), step = last >= first ? 1 : -1;
    for (std::int64_t row = first;; row += step) {
      const double y =
          std::clamp(static_cast<double>(row) + 0.5, std::min(y0, y1), std::max(y0, y1));
      plot(cell(x0 + (y - y0) * dx / dy), row);
      if (row == last) break;
    }
  }
}

}  // namespace

void DrawUvEdges(const LlmMesh& mesh, RgbaPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return;
  const std::size_t vertexCount = std::min(std::size_t{mesh.numVertices}, mesh.texCoords.size());
  for (const auto& [a, b] : TriangleEdges(mesh, vertexCount)) {
    DrawEdge(mesh.texCoords[a], mesh.texCoords[b], picture);
  }
}

}  // namespace tovmar::cli
