#include "exchange/GltfJointMatrices.h"

#include <cmath>

#include "exchange/ExchangeError.h"

namespace tovmar {

namespace {

// An affine transform: a 3x3 linear part (row, column) and a translation, in double precision
// so that long joint chains keep float accuracy.
struct Affine {
  std::array<std::array<double, 3>, 3> m{};
  std::array<double, 3> t{};
};

Affine FromPlacement(const GltfPlacement& p) {
  const double x = p.rotation[0], y = p.rotation[1], z = p.rotation[2], w = p.rotation[3];
  const double length = std::sqrt(x * x + y * y + z * z + w * w);
  const double s = length > 0.0 ? 2.0 / (length * length) : 0.0;
  const std::array<std::array<double, 3>, 3> r = {{
      {1 - s * (y * y + z * z), s * (x * y - z * w), s * (x * z + y * w)},
      {s * (x * y + z * w), 1 - s * (x * x + z * z), s * (y * z - x * w)},
      {s * (x * z - y * w), s * (y * z + x * w), 1 - s * (x * x + y * y)},
  }};
  const std::array<double, 3> scale = {p.scale.x, p.scale.y, p.scale.z};
  Affine a;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) a.m[i][j] = r[i][j] * scale[j];
  }
  a.t = {p.translation.x, p.translation.y, p.translation.z};
  return a;
}

Affine Compose(const Affine& outer, const Affine& inner) {
  Affine c;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) c.m[i][j] += outer.m[i][k] * inner.m[k][j];
    }
    c.t[i] = outer.t[i];
    for (int k = 0; k < 3; ++k) c.t[i] += outer.m[i][k] * inner.t[k];
  }
  return c;
}

// The inverse by the adjugate; false when the linear part is singular or not finite.
bool Invert(const Affine& a, Affine& inverse) {
  const auto& m = a.m;
  const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                     m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                     m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  if (!std::isfinite(det) || std::fabs(det) < 1e-18) return false;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      inverse.m[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
    }
  }
  for (int i = 0; i < 3; ++i) {
    inverse.t[i] = 0.0;
    for (int k = 0; k < 3; ++k) inverse.t[i] -= inverse.m[i][k] * a.t[k];
    if (!std::isfinite(inverse.t[i])) return false;
  }
  return true;
}

}  // namespace

std::vector<std::array<float, 16>> InverseBindMatrices(const std::vector<GltfJoint>& joints) {
  std::vector<Affine> globals;
  std::vector<std::array<float, 16>> out;
  for (const GltfJoint& joint : joints) {
    if (joint.parent >= static_cast<int>(globals.size())) {
      throw ExchangeError("joint '" + joint.name + "' comes before its parent");
    }
    const Affine local = FromPlacement(joint.local);
    globals.push_back(
        joint.parent < 0 ? local : Compose(globals[static_cast<std::size_t>(joint.parent)], local));
    Affine inverse;
    if (!Invert(globals.back(), inverse)) {
      throw ExchangeError("joint '" + joint.name + "' has a transform that cannot be inverted");
    }
    std::array<float, 16>& matrix = out.emplace_back();
    for (int column = 0; column < 3; ++column) {
      for (int row = 0; row < 3; ++row) {
        matrix[static_cast<std::size_t>(column * 4 + row)] =
            static_cast<float>(inverse.m[row][column]);
      }
    }
    for (int row = 0; row < 3; ++row) {
      matrix[static_cast<std::size_t>(12 + row)] = static_cast<float>(inverse.t[row]);
    }
    matrix[15] = 1.0f;
  }
  return out;
}

}  // namespace tovmar
