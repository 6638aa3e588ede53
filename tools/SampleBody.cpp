#include "tools/SampleBody.h"

namespace tovmar::sample {

namespace {

// Torso from the crotch to the top of the neck, flattened front to back.
PartShape TorsoShape() {
  PartShape s;
  s.bottom = {0.0, 0.0, 0.82};
  s.top = {0.0, 0.0, 1.56};
  // Radii at the heights 0.82 (crotch), 0.95 (hips), 1.08 (waist), 1.25 (chest),
  // 1.38 (shoulders), 1.45, 1.50 (neck base) and 1.56 (neck).
  s.profile = {{0.0, 0.16},   {0.176, 0.175}, {0.351, 0.14}, {0.581, 0.16},
               {0.757, 0.19}, {0.851, 0.17},  {0.919, 0.06}, {1.0, 0.055}};
  s.bottomCap = 0.08;
  s.topCap = 0.03;
  s.frontScale = 0.62;
  s.rings = 48;
  s.segments = 40;
  return s;
}

PartShape HeadShape() {
  PartShape s;
  s.bottom = {kHeadCentre.x, kHeadCentre.y, kHeadCentre.z - 0.125};
  s.top = {kHeadCentre.x, kHeadCentre.y, kHeadCentre.z + 0.125};
  s.profile = {{0.0, 0.1}, {1.0, 0.1}};
  s.bottomCap = 0.125;
  s.topCap = 0.125;
  s.sideScale = 0.8;
  s.rings = 24;
  s.segments = 32;
  return s;
}

// An arm hanging from the shoulder, slightly away from the body; `side` is +1 or -1.
PartShape ArmShape(double side) {
  PartShape s;
  s.bottom = {0.0, 0.29 * side, 0.74};
  s.top = {0.0, 0.215 * side, 1.44};
  // Hand, wrist, elbow, shoulder.
  s.profile = {{0.0, 0.04}, {0.25, 0.032}, {0.55, 0.04}, {1.0, 0.055}};
  s.bottomCap = 0.05;
  s.topCap = 0.05;
  s.rings = 32;
  s.segments = 16;
  return s;
}

PartShape LegShape(double side) {
  PartShape s;
  s.bottom = {0.0, 0.105 * side, 0.04};
  s.top = {0.0, 0.095 * side, 0.98};
  // Ankle, shin, calf, knee, thigh, hip.
  s.profile = {{0.0, 0.045}, {0.15, 0.05}, {0.3, 0.062}, {0.47, 0.05}, {0.75, 0.08}, {1.0, 0.09}};
  s.bottomCap = 0.04;
  s.topCap = 0.08;
  s.rings = 40;
  s.segments = 20;
  return s;
}

// A foot pointing forwards, so that the body's front is plain to see.
PartShape FootShape(double side) {
  PartShape s;
  s.bottom = {0.05, 0.105 * side, 0.0};
  s.top = {0.05, 0.105 * side, 0.08};
  s.profile = {{0.0, 0.045}, {1.0, 0.045}};
  s.bottomCap = 0.04;
  s.topCap = 0.04;
  s.frontScale = 2.4;
  s.rings = 12;
  s.segments = 16;
  return s;
}

void Add(SampleBody& body, const PartShape& shape, BodyRegion region, int side) {
  AddPart(shape, kBodyHeight, body.geometry);
  body.regions.resize(body.geometry.coords.size(), region);
  body.sides.resize(body.geometry.coords.size(), side);
}

}  // namespace

SampleBody BuildSampleBody() {
  SampleBody body;
  Add(body, TorsoShape(), BodyRegion::kTorso, 0);
  Add(body, HeadShape(), BodyRegion::kHead, 0);
  for (const int side : {1, -1}) {
    Add(body, ArmShape(side), BodyRegion::kArm, side);
    Add(body, LegShape(side), BodyRegion::kLeg, side);
    Add(body, FootShape(side), BodyRegion::kFoot, side);
  }
  return body;
}

}  // namespace tovmar::sample
