// Bone rotations: the order of the three angles and the inverse of a composed transform.
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

TEST(TransformTest, InvertsTranslationRotationAndScale) {
  const Mat4 a = Mat4::Translation({0.5f, -1, 2}) * Mat4::RotationDegrees({10, 20, 30}) *
                 Mat4::Scale({2, 0.5f, 3});
  const Vec3 p{0.25f, 1.5f, -0.75f};
  const Vec3 back = InverseAffine(a).TransformPoint(a.TransformPoint(p));
  EXPECT_NEAR(back.x, p.x, 1e-5f);
  EXPECT_NEAR(back.y, p.y, 1e-5f);
  EXPECT_NEAR(back.z, p.z, 1e-5f);
  EXPECT_EQ(InverseAffine(Mat4::Scale({1, 0, 1})), Mat4::Identity());
}

}  // namespace
}  // namespace tovmar
