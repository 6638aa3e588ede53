// Reading a mesh file as the window and the command-line tool read it, against reading the same
// file into memory with one read; and reading only the sections a picture without weights needs,
// against reading all of it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/Ratio.h"
#include "bench/SyntheticMesh.h"
#include "mesh/LlmFile.h"
#include "mesh/LlmMesh.h"
#include "tools/LlmWriter.h"

namespace tovmar::bench {

namespace {

// Loading may cost at most this many times the bare read of the file.
constexpr double kLoadTarget = 1.5;

// A uniquely named temporary file holding the synthetic mesh, removed when this goes away.
class TempMeshFile {
 public:
  TempMeshFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tovmar-bench-mesh-XXXXXX.llm").string();
    const int fd = mkstemps(pattern.data(), 4);
    if (fd < 0) return;
    close(fd);
    m_path = pattern;
    if (!WriteFileBytes(m_path, WriteLlm(MakeSyntheticMesh()))) Remove();
  }
  ~TempMeshFile() { Remove(); }
  TempMeshFile(const TempMeshFile&) = delete;
  TempMeshFile& operator=(const TempMeshFile&) = delete;

  const std::string& Path() const { return m_path; }

 private:
  void Remove() {
    if (!m_path.empty()) std::remove(m_path.c_str());
    m_path.clear();
  }

  std::string m_path;
};

void ReadMesh(benchmark::State& state, const std::string& path, LlmSections sections) {
  for (auto _ : state) {
    LlmMesh mesh;
    LlmReadReport report;
    if (ReadLlmFile(path, mesh, report, sections) != LlmFileStatus::kRead || !report.IsMesh()) {
      state.SkipWithError("the mesh file was not read as a mesh");
      break;
    }
    benchmark::DoNotOptimize(mesh.morphTargets.data());
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// The least any loader must do: open the file, make room for all of it and read it in one go.
void ReadFileOnce(benchmark::State& state, const std::string& path) {
  const std::size_t size = static_cast<std::size_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
      state.SkipWithError("cannot open the mesh file");
      break;
    }
    const std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(size);
    const std::size_t got = std::fread(buffer.get(), 1, size, f);
    std::fclose(f);
    benchmark::DoNotOptimize(buffer.get());
    benchmark::DoNotOptimize(got);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}

// Registers the pair for `path` under `label`, with its ratio line.
void RegisterPair(const std::string& label, const std::string& path, double target) {
  const std::string load = "ReadLlmFile/" + label;
  const std::string read = "ReadFileOnce/" + label;
  const std::string drawing = "ReadLlmFileDrawing/" + label;
  benchmark::RegisterBenchmark(load.c_str(), ReadMesh, path, LlmSections::kAll)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(read.c_str(), ReadFileOnce, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(drawing.c_str(), ReadMesh, path, LlmSections::kDrawing)
      ->Unit(benchmark::kMillisecond);
  AddRatio(load, read, target);
  AddRatio(drawing, load, 0.0);
}

}  // namespace

}  // namespace tovmar::bench

int main(int argc, char** argv) {
  using namespace tovmar::bench;
  // Static, so that it is removed also when the benchmark library ends the process (--help).
  static const TempMeshFile synthetic;
  if (synthetic.Path().empty()) {
    std::fprintf(stderr, "cannot write the synthetic mesh file\n");
    return 1;
  }
  RegisterPair("Synthetic", synthetic.Path(), kLoadTarget);
  // The real mesh is small, so its ratio is reported without a target.
  if (const std::string real = RealLowerBodyPath(); !real.empty()) {
    RegisterPair("LowerBody", real, 0.0);
  }
  return RunBenchmarksWithRatios(argc, argv);
}
