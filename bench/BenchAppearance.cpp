// Reading the records of an appearance file, against libxml2 parsing the same file alone.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "appearance/AppearanceXmlReader.h"
#include "appearance/XmlParseOptions.h"
#include "base/MessageSink.h"
#include "bench/BenchFolder.h"
#include "bench/Ratio.h"

namespace tovmar::bench {

namespace {

// Reading the records may cost at most this many times the bare parse: a small file, whose
// walk and records weigh more against the parse, and a large one.
constexpr double kSmallReadTarget = 1.5;
constexpr double kLargeReadTarget = 1.4;
constexpr int kParamsPerArchetype = 140;

// Writes an archetype file as the world's client writes one, with `archetypes` archetype
// elements of 140 params and a few texture entries each, straight to disk.
bool WriteArchetypeFile(const std::string& path, int archetypes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  std::fputs(
      "<?xml version=\"1.0\" encoding=\"US-ASCII\" standalone=\"yes\"?>\n"
      "<linden_genepool version=\"1.0\">\n",
      f);
  for (int a = 0; a < archetypes; ++a) {
    std::fputs("\t<archetype name=\"???\">\n", f);
    for (int p = 0; p < kParamsPerArchetype; ++p) {
      std::fprintf(f, "\t\t<param id=\"%d\" name=\"morph_param_%03d\" value=\"%.3f\" />\n", p + 1,
                   p, static_cast<double>(p % 21) / 10.0 - 1.0);
    }
    for (int t = 0; t < 8; ++t) {
      std::fprintf(f, "\t\t<texture te=\"%d\" value=\"c228d1cf-4b5d-4ba8-84f4-899a0796aa97\" />\n",
                   t);
    }
    std::fputs("\t</archetype>\n", f);
  }
  std::fputs("</linden_genepool>\n", f);
  return std::fclose(f) == 0;
}

// Counts the messages instead of printing them: the refused file would show one per read.
class CountingMessageSink : public MessageSink {
 public:
  void Show(const std::string&) override { ++count; }
  int count = 0;
};

CountingMessageSink g_messages;

void ReadParams(benchmark::State& state, const std::string& path) {
  std::size_t records = 0;
  for (auto _ : state) {
    const std::vector<AppearanceParam> table = AppearanceXmlReader::ReadParams(path);
    records = table.size();
    benchmark::DoNotOptimize(table.data());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["records"] = static_cast<double>(records);
  state.counters["messages"] = g_messages.count;
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// What a reader that keeps the whole document pays: libxml2 building its tree and freeing it
// again. The reader frees each archetype as it ends, and so may come in below it.
void ParseOnly(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    xmlDoc* doc = xmlReadFile(path.c_str(), nullptr, kAppearanceXmlParseOptions);
    benchmark::DoNotOptimize(doc);
    xmlFreeDoc(doc);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void RegisterPair(const std::string& label, const std::string& path, double target) {
  const std::string read = "ReadParams/" + label;
  const std::string parse = "XmlParseOnly/" + label;
  benchmark::RegisterBenchmark(parse.c_str(), ParseOnly, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(read.c_str(), ReadParams, path)->Unit(benchmark::kMillisecond);
  AddRatio(read, parse, target);
}

}  // namespace

}  // namespace tovmar::bench

int main(int argc, char** argv) {
  using namespace tovmar::bench;
  const BenchFolder folder("tovmar-bench-appearance");
  const std::string small = folder.Path() + "/archetypes-200KB.xml";
  const std::string large = folder.Path() + "/archetypes-10MB.xml";
  const std::string huge = folder.Path() + "/archetypes-100MB.xml";
  if (folder.Path().empty() || !WriteArchetypeFile(small, 24) || !WriteArchetypeFile(large, 1100) ||
      !WriteArchetypeFile(huge, 11000)) {
    std::fprintf(stderr, "cannot write the archetype files\n");
    return 1;
  }
  tovmar::InstallMessageSink(&g_messages);
  // Grow the heap once with the largest read, so that no measured run pays for growing it.
  tovmar::AppearanceXmlReader::ReadParams(large);
  RegisterPair("200KB", small, kSmallReadTarget);
  RegisterPair("10MB", large, kLargeReadTarget);
  // Past the size cap: measured once, to show how fast and how lean the refusal is.
  benchmark::RegisterBenchmark("ReadParams/100MB", ReadParams, huge)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  return RunBenchmarksWithRatios(argc, argv);
}
