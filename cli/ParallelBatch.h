// Running a batch on several threads with the same outcome as one after another: the same output
// files, and the failures reported in input order.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/BatchOutputs.h"

namespace tovmar::cli {

// The three steps of every job. `prepare` runs on the calling thread, one job after another in
// input order, and fills one of `places` (its index); `finish` then completes the job from that
// place on one of `workers` threads (its index), while the next jobs are prepared, and returns
// the job's output; `store` puts that output in place (writes the job's file) on a thread of its
// own, so that waiting for the disk overlaps the next jobs' work. A place is used again only
// after `finish` is done with it; a job is done when its output is stored. Any step throws to
// fail its job. Only `prepare` may show messages: the message sink belongs to the calling thread.
struct BatchSteps {
  std::size_t workers = 1;
  std::size_t places = 1;
  bool quiet = false;  // no progress line, no summary (BatchProgress)
  std::function<void(const BatchJob&, std::size_t place)> prepare;
  std::function<std::string(const BatchJob&, std::size_t place, std::size_t worker)> finish;
  std::function<void(const BatchJob&, const std::string& output)> store;
};

// RunBatch with each job's steps spread over the workers. With one worker, or a single job,
// the steps run on the calling thread one after another exactly as RunBatch runs a job. Messages
// that `prepare` shows, and the failure lines, come out on standard error in input order, each
// job's as soon as the jobs before it are done, with the progress line and the summary. Returns the
// exit status: failure when any job failed.
int RunParallelBatch(std::string_view command, const std::vector<BatchJob>& jobs,
                     const BatchSteps& steps);

}  // namespace tovmar::cli
