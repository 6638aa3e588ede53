// Bone rotations: the order in which the three angles turn.
#include <gtest/gtest.h>

#include "avatar/Transform.h"

namespace tovmar {
namespace {

TEST(TransformTest, TurnsAboutXThenYThenZ) {
  struct Case {
    Vec3 degrees;
    Vec3 in;
    Vec3 out;
  };
  const Case cases[] = {
      {{0, 0, 90}, {1, 0, 0}, {0, 1, 0}},
      {{0, 90, 0}, {1, 0, 0}, {0, 0, -1}},
      {{90, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      // X first takes +Y to +Z, which Z then leaves alone; Z first would give -X.
      {{90, 0, 90}, {0, 1, 0}, {0, 0, 1}},
      // Y first takes +Z to +X, which Z then takes to +Y.
      {{0, 90, 90}, {0, 0, 1}, {0, 1, 0}},
  };
  for (const Case& c : cases) {
    const Vec3 out = Mat4::RotationDegrees(c.degrees).TransformDirection(c.in);
    EXPECT_NEAR(out.x, c.out.x, 1e-6f);
    EXPECT_NEAR(out.y, c.out.y, 1e-6f);
    EXPECT_NEAR(out.z, c.out.z, 1e-6f);
  }
}

}  // namespace
}  // namespace tovmar
