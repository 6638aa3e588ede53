#include "tools/SampleMorphs.h"

#include <algorithm>
#include <cmath>

#include "tools/LlmWriter.h"

namespace tovmar::sample {

namespace {

// Vertices that move less than this (0.1 mm) get no record.
constexpr double kMinDelta = 1e-4;

struct VertexView {
  DVec3 p;
  DVec3 n;
  SurfacePlace place;
  BodyRegion region;
  int side;
};

using DeltaFunction = DVec3 (*)(const VertexView&);

struct MorphDefinition {
  const char* name;
  DeltaFunction delta;
};

double Bump(double x) {
  return std::exp(-x * x);
}

double SmoothStep(double edge0, double edge1, double x) {
  const double s = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return s * s * (3.0 - 2.0 * s);
}

double Front(const VertexView& v) {
  return std::max(0.0, std::cos(v.place.angle));
}

DVec3 BigBellyTorso(const VertexView& v) {
  if (v.region != BodyRegion::kTorso) return {};
  const double front = Front(v);
  return v.n * (0.09 * Bump((v.p.z - 1.06) / 0.1) * (0.3 + 0.7 * front * front));
}

DVec3 BigChest(const VertexView& v) {
  if (v.region != BodyRegion::kTorso) return {};
  const double front = Front(v);
  return v.n * (0.06 * Bump((v.p.z - 1.28) / 0.07) * front * front);
}

// The shoulders widen and the arms move out with them.
DVec3 BroadShoulders(const VertexView& v) {
  if (v.region == BodyRegion::kArm) return {0.0, 0.05 * v.side, 0.0};
  if (v.region != BodyRegion::kTorso) return {};
  const double s = SmoothStep(1.2, 1.38, v.p.z) * (1.0 - SmoothStep(1.46, 1.52, v.p.z));
  return {0.0, 0.05 * s * std::sin(v.place.angle), 0.0};
}

// The hips widen and the tops of the legs follow.
DVec3 WideHips(const VertexView& v) {
  if (v.region == BodyRegion::kLeg) return {0.0, 0.04 * v.side * v.place.t * v.place.t, 0.0};
  if (v.region != BodyRegion::kTorso) return {};
  return {0.0, 0.05 * Bump((v.p.z - 0.95) / 0.08) * std::sin(v.place.angle), 0.0};
}

// The legs stretch downwards from the hips; the feet move down with the ankles.
DVec3 LongLegs(const VertexView& v) {
  if (v.region == BodyRegion::kFoot) return {0.0, 0.0, -0.15};
  if (v.region != BodyRegion::kLeg) return {};
  return {0.0, 0.0, -0.15 * (1.0 - v.place.t)};
}

DVec3 BigHead(const VertexView& v) {
  if (v.region != BodyRegion::kHead) return {};
  return (v.p - kHeadCentre) * 0.25;
}

DVec3 ThickArms(const VertexView& v) {
  if (v.region != BodyRegion::kArm) return {};
  return (v.p - v.place.axisPoint) * 0.45;
}

// Thicker everywhere, the thighs most.
DVec3 FatLegs(const VertexView& v) {
  if (v.region != BodyRegion::kLeg) return {};
  return (v.p - v.place.axisPoint) * (0.25 + 0.3 * v.place.t);
}

constexpr MorphDefinition kMorphs[] = {
    {"Big_Belly_Torso", BigBellyTorso},
    {"Big_Chest", BigChest},
    {"Broad_Shoulders", BroadShoulders},
    {"Wide_Hips", WideHips},
    {"Long_Legs", LongLegs},
    {"Big_Head", BigHead},
    {"Thick_Arms", ThickArms},
    {"Fat_Legs", FatLegs},
};

DVec3 ToDouble(const Vec3& v) {
  return {v.x, v.y, v.z};
}

}  // namespace

std::vector<MorphTarget> MakeSampleMorphs(const SampleBody& body) {
  const BodyGeometry& g = body.geometry;
  std::vector<MorphTarget> targets;
  for (const MorphDefinition& morph : kMorphs) {
    MorphRecords records;
    for (std::size_t i = 0; i < g.coords.size(); ++i) {
      const VertexView v{ToDouble(g.coords[i]), ToDouble(g.normals[i]), g.places[i],
                         body.regions[i], body.sides[i]};
      const DVec3 delta = morph.delta(v);
      if (Length(delta) < kMinDelta) continue;
      MorphVertex& r = records.emplace_back();
      r.vertexIndex = static_cast<std::int32_t>(i);
      r.coordDelta = ToFloat(delta);
    }
    targets.push_back(MakeMorphTarget(morph.name, std::move(records)));
  }
  return targets;
}

}  // namespace tovmar::sample
