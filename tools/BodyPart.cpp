#include "tools/BodyPart.h"

#include <algorithm>
#include <cassert>
#include <numbers>

namespace tovmar::sample {

namespace {

constexpr double kPi = std::numbers::pi;

// The profile radius at t, eased between neighbouring points so the surface has no creases.
double ProfileRadius(const std::vector<ProfilePoint>& profile, double t) {
  if (t <= profile.front().t) return profile.front().radius;
  for (std::size_t i = 1; i < profile.size(); ++i) {
    const ProfilePoint& a = profile[i - 1];
    const ProfilePoint& b = profile[i];
    if (t <= b.t) {
      const double s = (t - a.t) / (b.t - a.t);
      return a.radius + (b.radius - a.radius) * s * s * (3.0 - 2.0 * s);
    }
  }
  return profile.back().radius;
}

// 1 in the middle of the part, falling like a quarter circle to 0 within `cap` of an end.
double CapFactor(double distanceFromEnd, double cap) {
  if (distanceFromEnd >= cap) return 1.0;
  const double d = 1.0 - distanceFromEnd / cap;
  return std::sqrt(std::max(0.0, 1.0 - d * d));
}

class PartSurface {
 public:
  explicit PartSurface(const PartShape& shape) : m_shape(shape) {
    const DVec3 along = shape.top - shape.bottom;
    m_length = Length(along);
    m_axis = Normalized(along);
    // The front direction made square to the axis, and the side direction that completes a
    // right-handed frame (front x side = axis).
    const DVec3 front{1.0, 0.0, 0.0};
    m_front = Normalized(front - m_axis * Dot(front, m_axis));
    m_side = Cross(m_axis, m_front);
  }

  DVec3 AxisPoint(double t) const { return m_shape.bottom + m_axis * (t * m_length); }

  double Radius(double t) const {
    const double s = t * m_length;
    return ProfileRadius(m_shape.profile, t) * CapFactor(s, m_shape.bottomCap) *
           CapFactor(m_length - s, m_shape.topCap);
  }

  // Change of the radius per metre along the axis.
  double RadiusSlope(double t) const {
    constexpr double kStep = 1e-5;
    const double lo = std::max(0.0, t - kStep);
    const double hi = std::min(1.0, t + kStep);
    return (Radius(hi) - Radius(lo)) / ((hi - lo) * m_length);
  }

  DVec3 Position(double t, double angle) const {
    const DVec3 out = m_front * (m_shape.frontScale * std::cos(angle)) +
                      m_side * (m_shape.sideScale * std::sin(angle));
    return AxisPoint(t) + out * Radius(t);
  }

  // The gradient of the elliptical tube's implicit form, which points outwards; the two ends
  // face straight along the axis.
  DVec3 Normal(int ring, double t, double angle) const {
    if (ring == 0) return m_axis * -1.0;
    if (ring == m_shape.rings) return m_axis;
    return Normalized(m_front * (std::cos(angle) / m_shape.frontScale) +
                      m_side * (std::sin(angle) / m_shape.sideScale) - m_axis * RadiusSlope(t));
  }

  // The direction of growing angle, around the part.
  DVec3 Around(double angle) const {
    return Normalized(m_front * (-m_shape.frontScale * std::sin(angle)) +
                      m_side * (m_shape.sideScale * std::cos(angle)));
  }

 private:
  const PartShape& m_shape;
  double m_length = 0.0;
  DVec3 m_axis;
  DVec3 m_front;
  DVec3 m_side;
};

}  // namespace

void AddPart(const PartShape& shape, double bodyHeight, BodyGeometry& body) {
  assert(shape.profile.size() >= 2 && shape.bottomCap > 0.0 && shape.topCap > 0.0);
  assert(shape.rings >= 2 && shape.segments >= 3);
  const PartSurface surface(shape);
  const auto base = static_cast<std::int32_t>(body.coords.size());
  const int columns = shape.segments + 1;

  // Vertices, ring by ring from the bottom; rings crowd towards the rounded ends.
  for (int i = 0; i <= shape.rings; ++i) {
    const double t = 0.5 - 0.5 * std::cos(kPi * i / shape.rings);
    for (int j = 0; j <= shape.segments; ++j) {
      // The last column repeats the first one's geometry with u = 1; the seam is at the back.
      const double u = static_cast<double>(j) / shape.segments;
      const double angle = kPi + 2.0 * kPi * (j % shape.segments) / shape.segments;
      const DVec3 p = surface.Position(t, angle);
      const DVec3 n = surface.Normal(i, t, angle);
      body.coords.push_back(ToFloat(p));
      body.normals.push_back(ToFloat(n));
      body.binormals.push_back(ToFloat(Normalized(Cross(n, surface.Around(angle)))));
      body.texCoords.push_back(
          {static_cast<float>(u), static_cast<float>(std::clamp(p.z / bodyHeight, 0.0, 1.0))});
      body.places.push_back({t, angle, surface.AxisPoint(t)});
    }
    body.seamPairs.emplace_back(base + i * columns + shape.segments, base + i * columns);
  }

  // Two triangles per quad, counter-clockwise seen from outside; at the two ends, where a
  // whole ring sits on one point, only the triangle with area is kept.
  auto add = [&body](std::int32_t a, std::int32_t b, std::int32_t c) {
    for (const std::int32_t v : {a, b, c}) body.faces.push_back(static_cast<std::uint16_t>(v));
  };
  for (int i = 0; i < shape.rings; ++i) {
    for (int j = 0; j < shape.segments; ++j) {
      const std::int32_t v00 = base + i * columns + j;
      const std::int32_t v01 = v00 + 1;
      const std::int32_t v10 = v00 + columns;
      const std::int32_t v11 = v10 + 1;
      if (i > 0) add(v00, v01, v11);
      if (i < shape.rings - 1) add(v00, v11, v10);
    }
  }
}

}  // namespace tovmar::sample
