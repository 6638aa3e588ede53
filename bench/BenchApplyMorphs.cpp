// The morph deformation with every weight non-zero, against the least it must do: copy the three
// vertex arrays of the hidden object and read every morph record once. Then what a drag costs: one
// weight changed and the deformation kept between runs, each run with the caches emptied first,
// against one equally cold straight copy of the three vertex arrays.

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
#include "mesh/MorphDeformer.h"
#include "mesh/SceneStore.h"

namespace tovmar::bench {

namespace {

// A deformation may cost at most this many times the copy and the record pass.
constexpr double kApplyTarget = 1.5;

// One weight changed costs at most this many times a straight copy of the vertex arrays.
constexpr double kDragTarget = 1.0;

// More than the last-level cache: writing it all pushes everything else out.
constexpr std::size_t kCacheFlushBytes = std::size_t{64} << 20;

// Emptying the caches costs far more than the step measured after it; a fixed count of steps keeps
// the run short.
constexpr int kColdSteps = 200;

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

// Writes a buffer larger than the caches, so that the next measured step starts cold.
void EmptyCaches(std::vector<std::uint8_t>& flush) {
  for (std::size_t i = 0; i < flush.size(); i += 64)
    flush[i] = static_cast<std::uint8_t>(flush[i] + 1);
  benchmark::DoNotOptimize(flush.data());
  benchmark::ClobberMemory();
}

// The middle target's weight moves between two values, as a slider drag does; every run starts
// with empty caches.
void DragOneWeightCold(benchmark::State& state, MorphScene* scene) {
  MorphScene& s = *scene;
  MorphDeformer deformer;
  deformer.Apply(s.mesh, s.store, true);
  MorphTarget& dragged = s.mesh.morphTargets[s.mesh.morphTargets.size() / 2];
  const float weights[2] = {dragged.weight, dragged.weight + 0.125f};
  std::vector<std::uint8_t> flush(kCacheFlushBytes);
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    dragged.weight = weights[++step % 2];
    EmptyCaches(flush);
    state.ResumeTiming();
    deformer.Apply(s.mesh, s.store, true);
    benchmark::DoNotOptimize(s.store.GetMesh(0)->positions.data());
    benchmark::ClobberMemory();
  }
  dragged.weight = weights[0];
}

void CopyVertexArraysCold(benchmark::State& state, MorphScene* scene) {
  MorphScene& s = *scene;
  MeshObject& target = *s.store.GetMesh(0);
  const MeshObject& source = *s.store.GetMesh(1);
  std::vector<std::uint8_t> flush(kCacheFlushBytes);
  for (auto _ : state) {
    state.PauseTiming();
    EmptyCaches(flush);
    state.ResumeTiming();
    std::copy(source.positions.begin(), source.positions.end(), target.positions.begin());
    std::copy(source.normals.begin(), source.normals.end(), target.normals.begin());
    std::copy(source.texCoords.begin(), source.texCoords.end(), target.texCoords.begin());
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
  benchmark::RegisterBenchmark("DragOneWeightCold/Synthetic", DragOneWeightCold, synthetic.get())
      ->Unit(benchmark::kMicrosecond)
      ->Iterations(kColdSteps);
  benchmark::RegisterBenchmark("CopyVertexArraysCold/Synthetic", CopyVertexArraysCold,
                               synthetic.get())
      ->Unit(benchmark::kMicrosecond)
      ->Iterations(kColdSteps);
  // A fixed step count becomes part of the reported names.
  const std::string steps = "/iterations:" + std::to_string(kColdSteps);
  AddRatio("DragOneWeightCold/Synthetic" + steps, "CopyVertexArraysCold/Synthetic" + steps,
           kDragTarget);
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
