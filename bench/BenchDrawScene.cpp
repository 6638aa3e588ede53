// One frame of the 3D view at about the size the view has in the main window as it opens: the
// scene drawn by DrawScene with the start camera, for the sample mesh and the real lower body,
// against a frame that only clears. Both run in one context made once, at the same size, with the
// same read-back, so the ratio is what the mesh adds to a frame.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/Ratio.h"
#include "bench/SyntheticMesh.h"
#include "mesh/LlmMesh.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "render/DrawScene.h"
#include "render/GL.h"
#include "render/OffscreenContext.h"
#include "tools/LlmWriter.h"
#include "tools/SampleMesh.h"

namespace tovmar::bench {

namespace {

// The size every frame is drawn at: about the 3D view's client area in the main window as it
// opens.
constexpr int kViewWidth = 408;
constexpr int kViewHeight = 660;

// A mesh loaded and built into a store of its own, as a mesh load leaves the scene.
struct Scene {
  LlmMesh mesh;
  SceneStore store;
};

std::unique_ptr<Scene> MakeScene(LlmMesh mesh, const std::string& name) {
  auto scene = std::make_unique<Scene>();
  scene->mesh = std::move(mesh);
  BuildMeshObjects(scene->mesh, scene->store, name);
  return scene;
}

// Draws `draw` into a frame of the view's size and reads the frame back, once before timing so
// that the rasteriser's first-frame work is left out.
void TimeFrames(benchmark::State& state, OffscreenContext* context,
                const std::function<void()>& draw) {
  std::vector<std::uint8_t> rgb;
  std::string error;
  if (!context->Render(kViewWidth, kViewHeight, draw, rgb, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    context->Render(kViewWidth, kViewHeight, draw, rgb, error);
    benchmark::DoNotOptimize(rgb.data());
  }
}

void DrawFrame(benchmark::State& state, OffscreenContext* context, Scene* scene) {
  const ViewCamera camera;
  TimeFrames(state, context, [&] { DrawScene(camera, kViewWidth, kViewHeight, scene->store); });
}

// The frame's background alone, as DrawScene clears it.
void ClearFrame(benchmark::State& state, OffscreenContext* context) {
  TimeFrames(state, context, [] {
    glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  });
}

// A drag: every frame turns the visible mesh a degree further, as dragging in the view does.
void DragFrame(benchmark::State& state, OffscreenContext* context, Scene* scene) {
  const ViewCamera camera;
  MeshObject& mesh = *scene->store.GetMesh(0);
  TimeFrames(state, context, [&] {
    mesh.rotation.y += 1.0f;
    DrawScene(camera, kViewWidth, kViewHeight, scene->store);
  });
}

// A mesh of the largest size the file format allows, dressed with a 2048 x 2048 texture of a
// plain pattern.
std::unique_ptr<Scene> MakeTexturedScene(LlmMesh mesh) {
  std::unique_ptr<Scene> scene = MakeScene(std::move(mesh), "synthetic.llm");
  constexpr int kSide = 2048;
  PixelBuffer pixels(std::size_t{kSide} * kSide * 4);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7 / 5);
  const std::int32_t id = scene->store.CreateTexture();
  scene->store.FindTexture(id)->SetPicture(std::move(pixels), kSide, kSide);
  scene->store.GetMesh(0)->SetTextureId(id);
  return scene;
}

void RegisterDraw(const std::string& label, OffscreenContext* context, Scene* scene) {
  // The frames are drawn on the context's own thread: wall-clock time is what counts.
  benchmark::RegisterBenchmark(("DrawScene/" + label).c_str(), DrawFrame, context, scene)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  AddRatio("DrawScene/" + label + "/real_time", "ClearFrame/real_time", 0.0);
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
  benchmark::RegisterBenchmark("ClearFrame", ClearFrame, context.get())
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  // The sample as its file reads: the generator writes exactly these bytes.
  LlmMesh sampleMesh;
  sampleMesh.LoadFromMemory(WriteLlm(sample::MakeSampleMesh()));
  const std::unique_ptr<Scene> sampleScene = MakeScene(std::move(sampleMesh), "sample.llm");
  RegisterDraw("Sample", context.get(), sampleScene.get());

  std::unique_ptr<Scene> realScene;
  if (const std::string path = RealLowerBodyPath(); !path.empty()) {
    LlmMesh mesh;
    mesh.Load(path);
    realScene = MakeScene(std::move(mesh), path);
    RegisterDraw("LowerBody", context.get(), realScene.get());
  }

  // Dragging the largest mesh with a large texture: the frames a second the view can paint are
  // 1000 over this benchmark's milliseconds (an upper bound on the time: the window's paint reads
  // nothing back). The mesh laid out as a body is what a user drags; the scattered one, whose
  // long faces cross the view thousands of times over, is the rasteriser's worst case.
  const std::unique_ptr<Scene> surface = MakeTexturedScene(MakeSyntheticSurfaceMesh());
  const std::unique_ptr<Scene> scattered = MakeTexturedScene(MakeSyntheticMesh());
  for (const auto& [label, scene] : {std::pair{"SurfaceTextured", surface.get()},
                                     std::pair{"SyntheticTextured", scattered.get()}}) {
    const std::string name = std::string("DragFrame/") + label;
    benchmark::RegisterBenchmark(name.c_str(), DragFrame, context.get(), scene)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    AddRatio(name + "/real_time", "ClearFrame/real_time", 0.0);
  }
  return RunBenchmarksWithRatios(argc, argv);
}
