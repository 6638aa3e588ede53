// Drawing the sample mesh without a display into a PNG picture, as `tovmar-cli render` does it
// for each file, against loading and deforming the same file without drawing.

#include <benchmark/benchmark.h>
#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "bench/BenchFolder.h"
#include "bench/Ratio.h"
#include "cli/MorphSettings.h"
#include "cli/ReadMeshFile.h"
#include "mesh/SceneStore.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "texture/decode/PngWriter.h"
#include "tools/SampleFiles.h"

namespace tovmar::bench {

namespace {

constexpr int kBatchFiles = 10;

// What every measured step shares: the mesh files and the weights of the sample appearance.
struct Inputs {
  std::vector<std::string> meshes;
  cli::MorphSettings morphs;
};

// The scene every measured step builds and draws.
SceneStore& Store() {
  static SceneStore store;
  return store;
}

// The command's steps before drawing: read the file, build both objects, set the weights, deform.
void LoadAndDeform(const std::string& path, const cli::MorphSettings& morphs) {
  LlmMesh mesh = cli::ReadMeshFile(path);
  cli::BuildDeformedMesh(mesh, Store(), path, morphs);
  benchmark::DoNotOptimize(Store().GetMesh(0)->positions.data());
}

// Then the drawing, the read-back and the PNG encoding; the file write is left out, as disk
// timings on a shared machine say nothing about the drawing.
void LoadDeformAndDraw(const std::string& path, const cli::MorphSettings& morphs,
                       OffscreenContext& context, int side) {
  LoadAndDeform(path, morphs);
  std::string error;
  const std::vector<std::uint8_t> rgb =
      RenderSceneToRgb(context, ViewCamera(), side, side, Store(), error);
  const std::string png = EncodePngRgb(rgb, side, side, PngCompression::kFast);
  if (png.empty()) std::abort();
  benchmark::DoNotOptimize(png.data());
}

void Deform(benchmark::State& state, const Inputs* inputs, int files) {
  for (auto _ : state) {
    for (int i = 0; i < files; ++i) LoadAndDeform(inputs->meshes[i], inputs->morphs);
  }
}

// One picture after another in a context made once, as a long batch sees each picture.
void Render(benchmark::State& state, const Inputs* inputs, int side) {
  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  if (context == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) LoadDeformAndDraw(inputs->meshes[0], inputs->morphs, *context, side);
}

// A whole batch as one run of the command: its context made, then every file drawn.
void Batch(benchmark::State& state, const Inputs* inputs) {
  for (auto _ : state) {
    std::string error;
    const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
    if (context == nullptr) {
      state.SkipWithError(error.c_str());
      return;
    }
    for (const std::string& mesh : inputs->meshes) {
      LoadDeformAndDraw(mesh, inputs->morphs, *context, 512);
    }
  }
}

// The drawing and read-back alone, of a scene loaded once.
void DrawOnly(benchmark::State& state, const Inputs* inputs, int side) {
  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  if (context == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  LoadAndDeform(inputs->meshes[0], inputs->morphs);
  for (auto _ : state) {
    const std::vector<std::uint8_t> rgb =
        RenderSceneToRgb(*context, ViewCamera(), side, side, Store(), error);
    benchmark::DoNotOptimize(rgb.data());
  }
}

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// The PNG file of an RGB picture at libpng's own settings, the measure for the writer's two.
std::string EncodeAtLibpngDefaults(const std::vector<std::uint8_t>& rgb, int side) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_write_fn(png, &out, AppendPng, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(side), static_cast<png_uint_32>(side), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < side; ++y) png_write_row(png, rgb.data() + std::size_t{3} * side * y);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// The PNG encoding alone, of a drawn picture: `mode` 0 at libpng's defaults, 1 fast, 2 small.
// The file's size goes into the counter "bytes".
void EncodeOnly(benchmark::State& state, const Inputs* inputs, int side, int mode) {
  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  if (context == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  LoadAndDeform(inputs->meshes[0], inputs->morphs);
  const std::vector<std::uint8_t> rgb =
      RenderSceneToRgb(*context, ViewCamera(), side, side, Store(), error);
  if (rgb.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string png =
        mode == 0 ? EncodeAtLibpngDefaults(rgb, side)
                  : EncodePngRgb(rgb, side, side,
                                 mode == 1 ? PngCompression::kFast : PngCompression::kSmall);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

// The arguments with which this program, started again, makes one context and ends, or ends at
// once: the difference between the two runs is what a fresh run of the command pays for its
// first context (the driver loaded, the display opened), which a process that has made a context
// before no longer pays.
constexpr const char* kOneContextArgument = "--one-context-and-exit";
constexpr const char* kExitArgument = "--exit";

// Starts this program with `argument` and waits for it; false when it could not run or failed.
bool RunSelf(const char* argument) {
  char self[] = "/proc/self/exe";
  std::string copy = argument;
  char* const argv[] = {self, copy.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, self, nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void FreshRun(benchmark::State& state, const char* argument) {
  for (auto _ : state) {
    if (!RunSelf(argument)) {
      state.SkipWithError("the program could not be started again");
      return;
    }
  }
}

// Making a context and letting it go again, in a process that has made one before.
void CreateContext(benchmark::State& state) {
  for (auto _ : state) {
    std::string error;
    const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
    if (context == nullptr) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(context.get());
  }
}

void RegisterAll(const Inputs* inputs) {
  const auto ms = benchmark::kMillisecond;
  // The three measures of the command, each against loading and deforming without drawing.
  benchmark::RegisterBenchmark("LoadAndDeform/1", Deform, inputs, 1)->Unit(ms);
  benchmark::RegisterBenchmark("Render/512", Render, inputs, 512)->Unit(ms);
  benchmark::RegisterBenchmark("Render/1024", Render, inputs, 1024)->Unit(ms);
  benchmark::RegisterBenchmark("LoadAndDeform/10", Deform, inputs, kBatchFiles)->Unit(ms);
  benchmark::RegisterBenchmark("RenderBatch/10", Batch, inputs)->Unit(ms);
  AddRatio("Render/512", "LoadAndDeform/1", 0.0);
  AddRatio("Render/1024", "LoadAndDeform/1", 0.0);
  AddRatio("RenderBatch/10", "LoadAndDeform/10", 0.0);
  // Where a picture's time goes, against the same baseline.
  benchmark::RegisterBenchmark("DrawOnly/512", DrawOnly, inputs, 512)->Unit(ms);
  benchmark::RegisterBenchmark("EncodeOnly/512", EncodeOnly, inputs, 512, 1)->Unit(ms);
  benchmark::RegisterBenchmark("CreateContext", CreateContext)->Unit(ms);
  AddRatio("DrawOnly/512", "LoadAndDeform/1", 0.0);
  AddRatio("EncodeOnly/512", "LoadAndDeform/1", 0.0);
  AddRatio("CreateContext", "LoadAndDeform/1", 0.0);
  // What a fresh run pays for its first context, against a fresh run that ends at once.
  benchmark::RegisterBenchmark("FreshRunWithContext", FreshRun, kOneContextArgument)
      ->Unit(ms)
      ->UseRealTime();
  benchmark::RegisterBenchmark("FreshRunAlone", FreshRun, kExitArgument)->Unit(ms)->UseRealTime();
  AddRatio("FreshRunWithContext/real_time", "FreshRunAlone/real_time", 0.0);
  // The writer's two settings against libpng's defaults, on the same drawn picture.
  benchmark::RegisterBenchmark("EncodeLibpngDefaults/512", EncodeOnly, inputs, 512, 0)->Unit(ms);
  benchmark::RegisterBenchmark("EncodeSmall/512", EncodeOnly, inputs, 512, 2)->Unit(ms);
  AddRatio("EncodeOnly/512", "EncodeLibpngDefaults/512", 0.0);
  AddRatio("EncodeSmall/512", "EncodeLibpngDefaults/512", 0.0);
}

}  // namespace

}  // namespace tovmar::bench

int main(int argc, char** argv) {
  using namespace tovmar::bench;
  if (argc == 2 && std::strcmp(argv[1], kExitArgument) == 0) return 0;
  if (argc == 2 && std::strcmp(argv[1], kOneContextArgument) == 0) {
    std::string reason;
    return tovmar::OffscreenContext::Create(reason) != nullptr ? 0 : 1;
  }
  // The sample files, written here, and ten copies of the mesh for the batch.
  const BenchFolder folder("tovmar-bench-render");
  std::string error;
  if (folder.Path().empty() || !tovmar::sample::WriteSampleFiles(folder.Path(), error)) {
    std::fprintf(stderr, "cannot write the sample files: %s\n", error.c_str());
    return 1;
  }
  const std::filesystem::path root(folder.Path());
  Inputs inputs;
  for (int i = 0; i < kBatchFiles; ++i) {
    const std::filesystem::path copy = root / ("sample" + std::to_string(i) + ".llm");
    std::error_code ec;
    if (!std::filesystem::copy_file(root / tovmar::sample::kSampleMeshFile, copy, ec)) {
      std::fprintf(stderr, "cannot copy the sample mesh: %s\n", ec.message().c_str());
      return 1;
    }
    inputs.meshes.push_back(copy.string());
  }
  try {
    inputs.morphs.appearance =
        tovmar::cli::ReadAppearanceParams((root / tovmar::sample::kSampleAppearanceFile).string());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  RegisterAll(&inputs);
  return RunBenchmarksWithRatios(argc, argv);
}
