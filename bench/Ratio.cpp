#include "bench/Ratio.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

namespace tovmar::bench {

namespace {

struct RatioSpec {
  std::string subject;
  std::string baseline;
  double target;
};

std::vector<RatioSpec>& Ratios() {
  static std::vector<RatioSpec> ratios;
  return ratios;
}

// The console reporter, also keeping each run's time per iteration by name.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        times[run.benchmark_name()] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

void AddRatio(const std::string& subject, const std::string& baseline, double target) {
  Ratios().push_back({subject, baseline, target});
}

int RunBenchmarksWithRatios(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  for (const RatioSpec& r : Ratios()) {
    const auto s = reporter.times.find(r.subject);
    const auto b = reporter.times.find(r.baseline);
    if (s == reporter.times.end() || b == reporter.times.end() || b->second <= 0.0) continue;
    const double ratio = s->second / b->second;
    if (r.target > 0.0) {
      std::printf("ratio %s / %s = %.2fx (target <= %.2fx: %s)\n", r.subject.c_str(),
                  r.baseline.c_str(), ratio, r.target, ratio <= r.target ? "met" : "MISSED");
    } else {
      std::printf("ratio %s / %s = %.2fx\n", r.subject.c_str(), r.baseline.c_str(), ratio);
    }
  }
  return 0;
}

}  // namespace tovmar::bench
