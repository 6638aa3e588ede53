// From the end of a slider movement to the finished frame: the target named by the slider's
// label gets the weight of the slider's position, the visible mesh is deformed again and the
// view's frame is drawn and read back. The baseline redraws the same scene without the weight
// change and the deformation, so the ratio is what a slider movement adds to a frame.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "appearance/SliderScale.h"
#include "bench/Ratio.h"
#include "bench/SyntheticMesh.h"
#include "mesh/LlmMesh.h"
#include "mesh/MeshLoad.h"
#include "mesh/MorphDeformer.h"
#include "mesh/SceneStore.h"
#include "render/DrawScene.h"
#include "render/OffscreenContext.h"
#include "tools/LlmWriter.h"
#include "tools/SampleMesh.h"

namespace tovmar::bench {

namespace {

// The size every frame is drawn at: about the 3D view's client area in the main window as it
// opens.
constexpr int kViewWidth = 408;
constexpr int kViewHeight = 660;

// Two slider positions that movements alternate between, so every movement changes the weight:
// +0.5 and -0.5 on the scale of a loaded target.
constexpr int kPositions[2] = {250, 150};

// A mesh loaded and built into a store of its own, as a mesh load leaves the scene; the slider
// moves the mesh's last target, the one the label lookup reaches last.
struct Scene {
  LlmMesh mesh;
  SceneStore store;
  MorphDeformer morphs;
  std::string sliderLabel;
};

std::unique_ptr<Scene> MakeScene(LlmMesh mesh, const std::string& name) {
  auto scene = std::make_unique<Scene>();
  scene->mesh = std::move(mesh);
  BuildMeshObjects(scene->mesh, scene->store, name);
  if (!scene->mesh.morphTargets.empty()) {
    scene->sliderLabel = scene->mesh.morphTargets.back().DisplayName();
  }
  return scene;
}

bool RenderFrame(OffscreenContext& context, Scene& scene, std::vector<std::uint8_t>& rgb,
                 std::string& error) {
  const ViewCamera camera;
  return context.Render(
      kViewWidth, kViewHeight, [&] { DrawScene(camera, kViewWidth, kViewHeight, scene.store); },
      rgb, error);
}

// What the dialog and the panel do when a movement ends at `position`, then the frame.
void SliderMovementToFrame(OffscreenContext& context, Scene& scene, int position,
                           std::vector<std::uint8_t>& rgb, std::string& error) {
  MorphTarget* target = scene.mesh.FindMorphTarget(scene.sliderLabel);
  target->weight = SliderScale(target->maxWeight, target->minWeight).WeightAt(position);
  scene.morphs.Apply(scene.mesh, scene.store, false);
  RenderFrame(context, scene, rgb, error);
}

void SliderToFrame(benchmark::State& state, OffscreenContext* context, Scene* scene) {
  std::vector<std::uint8_t> rgb;
  std::string error;
  if (scene->mesh.FindMorphTarget(scene->sliderLabel) == nullptr) {
    state.SkipWithError("the mesh has no morph target");
    return;
  }
  // Once before timing, so that the rasteriser's first-frame work is left out.
  if (!RenderFrame(*context, *scene, rgb, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  int movement = 0;
  for (auto _ : state) {
    SliderMovementToFrame(*context, *scene, kPositions[movement++ % 2], rgb, error);
    benchmark::DoNotOptimize(rgb.data());
  }
}

void Redraw(benchmark::State& state, OffscreenContext* context, Scene* scene) {
  std::vector<std::uint8_t> rgb;
  std::string error;
  if (!RenderFrame(*context, *scene, rgb, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    RenderFrame(*context, *scene, rgb, error);
    benchmark::DoNotOptimize(rgb.data());
  }
}

void RegisterPair(const std::string& label, OffscreenContext* context, Scene* scene) {
  const std::string subject = "SliderToFrame/" + label;
  const std::string baseline = "Redraw/" + label;
  // The frames are drawn on the context's own thread: wall-clock time is what counts.
  benchmark::RegisterBenchmark(subject.c_str(), SliderToFrame, context, scene)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark(baseline.c_str(), Redraw, context, scene)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  AddRatio(subject + "/real_time", baseline + "/real_time", 0.0);
}

}  // namespace

}  // namespace tovmar::bench

int main(int argc, char** argv) {
  using namespace tovmar;
  using namespace tovmar::bench;
  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  if (context == nullptr) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }

  std::unique_ptr<Scene> realScene;
  if (const std::string path = RealLowerBodyPath(); !path.empty()) {
    LlmMesh mesh;
    mesh.Load(path);
    realScene = MakeScene(std::move(mesh), path);
    RegisterPair("LowerBody", context.get(), realScene.get());
  }

  // The sample as its file reads: the generator writes exactly these bytes.
  LlmMesh sampleMesh;
  sampleMesh.LoadFromMemory(WriteLlm(sample::MakeSampleMesh()));
  const std::unique_ptr<Scene> sampleScene = MakeScene(std::move(sampleMesh), "sample.llm");
  RegisterPair("Sample", context.get(), sampleScene.get());
  return RunBenchmarksWithRatios(argc, argv);
}
