// Camera arithmetic of the 3D view: quaternions, the rotation matrix, drag rotation, zoom,
// framing and the light pad. Everything here is plain arithmetic with no window attached.
#pragma once

#include <array>
#include <span>

#include "mesh/Vec.h"

namespace tovmar {

// (x, y, z, w), w the scalar part.
struct Quaternion {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;

  friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

// The Hamilton product a ⊗ b: first b, then a.
Quaternion Multiply(const Quaternion& a, const Quaternion& b);

// The rotation v ↦ q·v·q⁻¹ as an OpenGL column-major matrix, computed in single precision and
// widened to double; q is not renormalised.
std::array<double, 16> RotationMatrix(const Quaternion& q);

// A rotation by `turn` radians about +Z (the screen's vertical axis), then by `tilt` radians
// about +Y (its horizontal axis).
Quaternion TurnTiltRotation(float turn, float tilt);

// The rotation of a drag from the press point by (dx, dy) pixels in a client area of
// width x height: dx / width radians about +Z, then dy / height radians about +Y.
Quaternion DragRotation(int dx, int dy, int width, int height);

// A mesh object's translation component snapped down to a multiple of 0.01 (computed in double
// precision, as drawing stores it back).
float SnapToHundredths(float p);

// The view's camera and light, as drawing reads them and the mouse and panel change them.
struct ViewCamera {
  float distance = 5.0f;
  Vec3 pan;
  Quaternion stored;
  Quaternion shown;
  std::array<float, 4> light{10.0f, 0.0f, 0.0f, 0.0f};

  // Back to the start position: distance 5, no pan, no rotation, light from the camera's side.
  void Reset() { *this = ViewCamera(); }
};

// The projection of the view: vertical field of view in degrees, near and far planes.
inline constexpr double kFieldOfViewY = 30.0;
inline constexpr double kNearPlane = 1.0;
inline constexpr double kFarPlane = 100.0;

// The viewing distance is kept in [1, 100].
inline constexpr float kMinDistance = 1.0f;
inline constexpr float kMaxDistance = 100.0f;

// The viewing distance after a wheel rotation of `rotation` (120 per notch), kept in [1, 100].
float ZoomedDistance(float distance, int rotation);

// Sets the viewing distance and the pan offset's y and z so that every one of `points` shows
// inside a view of width / height `aspect`, with a margin of about a twentieth of the view at
// the tightest side, and in front of the near plane. The points are given in the view's axes (x
// towards the eye, y to the screen's right, z up), as the shown orientation turns the model. The
// orientation, the pan offset's x and the light stay; the distance stays within [1, 100].
// Returns false, changing nothing, without a finite point or without a finite, positive aspect.
bool FramePoints(ViewCamera& camera, std::span<const Vec3> points, float aspect);

// The light position for a click at (x, y) in a light pad of width x height pixels: the 3 x 3
// pixels around the centre reset the light; elsewhere the click sets its y and z.
std::array<float, 4> LightFromPad(const std::array<float, 4>& light, int x, int y, int width,
                                  int height);

}  // namespace tovmar
