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
  // With repetitions the median of each benchmark counts; without, its one run.
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians[name] = run.GetAdjustedRealTime();
      } else if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        singles[name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name) const {
    if (const auto m = medians.find(name); m != medians.end()) return m->second;
    const auto s = singles.find(name);
    return s != singles.end() ? s->second : 0.0;
  }
  std::map<std::string, double> medians;
  std::map<std::string, double> singles;
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
    const double subject = reporter.Time(r.subject);
    const double baseline = reporter.Time(r.baseline);
    if (subject <= 0.0 || baseline <= 0.0) continue;
    const double ratio = subject / baseline;
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
