#include "cli/ParallelBatch.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <utility>

#include "base/MessageSink.h"
#include "cli/BatchProgress.h"
#include "cli/CliError.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

namespace {

// Keeps the messages shown while it lives, to be shown later in their job's turn.
class MessageLines : public MessageSink {
 public:
  MessageLines() : m_previous(InstallMessageSink(this)) {}
  ~MessageLines() override { InstallMessageSink(m_previous); }
  MessageLines(const MessageLines&) = delete;
  MessageLines& operator=(const MessageLines&) = delete;

  void Show(const std::string& text) override { lines.push_back(text); }

  std::vector<std::string> lines;

 private:
  MessageSink* m_previous;
};

struct Outcome {
  bool done = false;
  bool failed = false;
  std::string failure;
  std::vector<std::string> messages;
};

// One run of a batch: the calling thread prepares the jobs and reports them, the workers finish
// them. Everything below m_mutex is shared.
class Batch {
 public:
  Batch(std::string_view command, const std::vector<BatchJob>& jobs, const BatchSteps& steps)
      : m_command(command),
        m_jobs(jobs),
        m_steps(steps),
        m_outcomes(jobs.size()),
        m_progress(command, jobs.size(), steps.quiet) {
    m_freePlaces.reserve(steps.places);
    for (std::size_t place = 0; place < steps.places; ++place) m_freePlaces.push_back(place);
  }

  // The workers finish what was queued before they stop.
  ~Batch() {
    {
      const std::lock_guard lock(m_mutex);
      m_closed = true;
    }
    m_queued.notify_all();
    for (std::thread& worker : m_workers) worker.join();
  }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  // Starts up to `count` workers; returns how many started.
  std::size_t StartWorkers(std::size_t count) {
    for (std::size_t w = 0; w < count; ++w) {
      try {
        m_workers.emplace_back(&Batch::Work, this, w);
      } catch (const std::system_error&) {
        break;
      }
    }
    return m_workers.size();
  }

  int Run() {
    for (std::size_t job = 0; job < m_jobs.size(); ++job) {
      const std::size_t place = TakeFreePlace();
      Outcome prepared;
      {
        const MessageLines messages;
        prepared.failed = !Attempt([&] { m_steps.prepare(m_jobs[job], place); }, prepared.failure);
        prepared.messages = messages.lines;
      }
      const std::lock_guard lock(m_mutex);
      m_outcomes[job].messages = std::move(prepared.messages);
      if (prepared.failed) {
        Finished(job, place, true, std::move(prepared.failure));
      } else {
        m_queue.emplace_back(job, place);
        m_queued.notify_one();
      }
    }

    std::unique_lock lock(m_mutex);
    for (Report(); m_reported < m_jobs.size(); Report()) m_changed.wait(lock);
    m_progress.Finish();
    return m_failures == 0 ? kExitSuccess : kExitFailure;
  }

 private:
  // Runs `step`; false with `failure` set when it throws.
  template <typename Step>
  static bool Attempt(Step&& step, std::string& failure) {
    try {
      step();
      return true;
    } catch (const std::exception& e) {
      failure = e.what();
    } catch (...) {
      failure = "unexpected failure";
    }
    return false;
  }

  // Waits for a place that no job holds, reporting the jobs done meanwhile.
  std::size_t TakeFreePlace() {
    std::unique_lock lock(m_mutex);
    for (Report(); m_freePlaces.empty(); Report()) m_changed.wait(lock);
    const std::size_t place = m_freePlaces.back();
    m_freePlaces.pop_back();
    return place;
  }

  // With m_mutex held: the job is done, its place free again.
  void Finished(std::size_t job, std::size_t place, bool failed, std::string failure) {
    Outcome& outcome = m_outcomes[job];
    outcome.done = true;
    outcome.failed = failed;
    outcome.failure = std::move(failure);
    m_freePlaces.push_back(place);
  }

  void Work(std::size_t worker) {
    for (;;) {
      std::size_t job = 0;
      std::size_t place = 0;
      {
        std::unique_lock lock(m_mutex);
        m_queued.wait(lock, [&] { return !m_queue.empty() || m_closed; });
        if (m_queue.empty()) return;
        std::tie(job, place) = m_queue.front();
        m_queue.pop_front();
      }
      std::string failure;
      const bool finished = Attempt([&] { m_steps.finish(m_jobs[job], place, worker); }, failure);
      {
        const std::lock_guard lock(m_mutex);
        Finished(job, place, !finished, std::move(failure));
      }
      m_changed.notify_one();
    }
  }

  // With m_mutex held: prints, in input order, the jobs whose turn has come.
  void Report() {
    while (m_reported < m_jobs.size() && m_outcomes[m_reported].done) {
      const Outcome& outcome = m_outcomes[m_reported];
      for (const std::string& message : outcome.messages) ShowMessage(message);
      if (outcome.failed) {
        m_progress.Clear();
        PrintErrorLine(std::string(m_command) + ": " + m_jobs[m_reported].input + ": " +
                       outcome.failure);
        ++m_failures;
      }
      m_progress.Done(m_jobs[m_reported].input, outcome.failed);
      ++m_reported;
    }
  }

  std::string_view m_command;
  const std::vector<BatchJob>& m_jobs;
  const BatchSteps& m_steps;

  std::mutex m_mutex;
  std::condition_variable m_queued;                         // a job was queued, or the batch closed
  std::condition_variable m_changed;                        // a job was done
  std::deque<std::pair<std::size_t, std::size_t>> m_queue;  // (job, place)
  std::vector<std::size_t> m_freePlaces;
  std::vector<Outcome> m_outcomes;
  std::size_t m_reported = 0;
  int m_failures = 0;
  bool m_closed = false;
  BatchProgress m_progress;
  std::vector<std::thread> m_workers;
};

}  // namespace

int RunParallelBatch(std::string_view command, const std::vector<BatchJob>& jobs,
                     const BatchSteps& steps) {
  const auto serially = [&] {
    return RunBatch(command, jobs, steps.quiet, [&](const BatchJob& job) {
      steps.prepare(job, 0);
      steps.finish(job, 0, 0);
    });
  };
  if (steps.workers <= 1 || jobs.size() <= 1) return serially();
  Batch batch(command, jobs, steps);
  if (batch.StartWorkers(steps.workers) == 0) return serially();
  return batch.Run();
}

}  // namespace tovmar::cli
