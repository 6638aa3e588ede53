// The morph deformation with every weight non-zero, against the least it must do: copy the three
// vertex arrays of the hidden object and read every morph record once.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/Ratio.h"
#include "bench/SyntheticMesh.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/SceneStore.h"

namespace tovmar::bench {

namespace {

// A deformation may cost at most this many times the copy and the record pass.
constexpr double kApplyTarget = 1.5;

// A mesh with weights set and its two objects built as loading a mesh builds them.
struct MorphScene {
  LlmMesh mesh;
  SceneStore store;
};

std::unique_ptr<MorphScene> MakeScene(LlmMesh mesh) {
  auto scene = std::make_unique<MorphScene>();
  scene->mesh = std::move(mesh);
  LlmMesh& m = scene->mesh;
  for (int i = 0; i < 2; ++i) {
    MeshObject* object = scene->store.FindMesh(scene->store.CreateMesh());
    object->Build(m.numVertices, m.coords.data(), m.numFaces * 3, m.faces.data(), m.normals.data(),
                  m.texCoords.data());
    object->SetVisible(i == 0);
  }
  // Every weight non-zero, some negative, so no record is a no-op.
  for (std::size_t t = 0; t < m.morphTargets.size(); ++t) {
    m.morphTargets[t].weight = t % 2 == 0 ? 0.75f : -0.5f;
  }
  return scene;
}

void Apply(benchmark::State& state, MorphScene* scene) {
  MorphScene& s = *scene;
  for (auto _ : state) {
    ApplyMorphs(s.mesh, s.store, true);
    benchmark::DoNotOptimize(s.store.GetMesh(0)->positions.data());
    benchmark::ClobberMemory();
  }
}

// One straight copy of positions, normals and texture coordinates, one read of every record.
void CopyAndReadRecords(benchmark::State& state, MorphScene* scene) {
  MorphScene& s = *scene;
  MeshObject& target = *s.store.GetMesh(0);
  const MeshObject& source = *s.store.GetMesh(1);
  for (auto _ : state) {
    std::copy(source.positions.begin(), source.positions.end(), target.positions.begin());
    std::copy(source.normals.begin(), source.normals.end(), target.normals.begin());
    std::copy(source.texCoords.begin(), source.texCoords.end(), target.texCoords.begin());
    std::int64_t sum = 0;
    for (const MorphTarget& t : s.mesh.morphTargets) {
      for (const MorphVertex& r : t.vertices) sum += r.vertexIndex;
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(target.positions.data());
    benchmark::ClobberMemory();
  }
}

void RegisterPair(const std::string& label, MorphScene* scene, double target) {
  const std::string apply = "ApplyMorphs/" + label;
  const std::string baseline = "CopyAndReadRecords/" + label;
  benchmark::RegisterBenchmark(apply.c_str(), Apply, scene)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark(baseline.c_str(), CopyAndReadRecords, scene)
      ->Unit(benchmark::kMicrosecond);
  AddRatio(apply, baseline, target);
}

}  // namespace

}  // namespace tovmar::bench

int main(int argc, char** argv) {
  using namespace tovmar;
  using namespace tovmar::bench;
  const std::unique_ptr<MorphScene> synthetic = MakeScene(MakeSyntheticMesh());
  RegisterPair("Synthetic", synthetic.get(), kApplyTarget);
  // The real mesh is small, so its ratio is reported without a target.
  std::unique_ptr<MorphScene> real;
  if (const std::string path = RealLowerBodyPath(); !path.empty()) {
    LlmMesh mesh;
    mesh.Load(path);
    real = MakeScene(std::move(mesh));
    RegisterPair("LowerBody", real.get(), 0.0);
  }
  return RunBenchmarksWithRatios(argc, argv);
}
