// One smooth closed part of the sample body: a surface of revolution around a straight axis with
// an elliptical cross-section and rounded ends, tessellated into rings and segments.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/Vec.h"
#include "tools/VecMath.h"

namespace tovmar::sample {

// The radius at one place along the axis: t runs from 0 at the bottom end to 1 at the top.
struct ProfilePoint {
  double t = 0.0;
  double radius = 0.0;
};

struct PartShape {
  DVec3 bottom;
  DVec3 top;
  // Radii in ascending t, the first at t 0 and the last at t 1.
  std::vector<ProfilePoint> profile;
  // Lengths along the axis, in metres, that are rounded off at each end.
  double bottomCap = 0.0;
  double topCap = 0.0;
  // Stretch of the cross-section towards the front (+X) and across it.
  double frontScale = 1.0;
  double sideScale = 1.0;
  int rings = 8;
  int segments = 8;
};

// Where a vertex sits on its part, for the morph targets and the skin weights.
struct SurfacePlace {
  double t = 0.0;
  // Angle around the axis: 0 faces the front (+X), pi/2 faces +Y.
  double angle = 0.0;
  DVec3 axisPoint;
};

// The growing vertex and triangle arrays of the whole body.
struct BodyGeometry {
  std::vector<Vec3> coords;
  std::vector<Vec3> normals;
  std::vector<Vec3> binormals;
  std::vector<Vec2> texCoords;
  std::vector<SurfacePlace> places;
  std::vector<std::uint16_t> faces;
  // Pairs of vertices that share a position along the texture seam (duplicate, original).
  std::vector<std::pair<std::int32_t, std::int32_t>> seamPairs;
};

// Appends the part's (rings + 1) x (segments + 1) vertices and its outward-facing triangles.
// Texture coordinates unwrap it cylindrically: u goes once around with the seam at the back,
// v is the height above the floor divided by `bodyHeight`.
void AddPart(const PartShape& shape, double bodyHeight, BodyGeometry& body);

}  // namespace tovmar::sample
