// Benchmarks report their cost as a ratio against a baseline measured in the same run, so that
// the figure means the same on a busy machine as on an idle one.
#pragma once

#include <string>

namespace tovmar::bench {

// After the run, prints "ratio SUBJECT / BASELINE = R (target <= T)" for these two benchmark
// names (T <= 0: no target).
void AddRatio(const std::string& subject, const std::string& baseline, double target);

// Runs every registered benchmark with the console reporter, then prints the ratios. Returns
// the process exit code.
int RunBenchmarksWithRatios(int argc, char** argv);

}  // namespace tovmar::bench
