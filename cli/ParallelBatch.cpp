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
// them and the storers store their outputs. Everything below m_mutex is shared.
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

  // The workers finish what was queued, and then the storers store what was finished, before
  // they stop.
  ~Batch() {
    {
      const std::lock_guard lock(m_mutex);
      m_closed = true;
    }
    m_queued.notify_all();
    for (std::thread& worker : m_workers) worker.join();
    {
      const std::lock_guard lock(m_mutex);
      m_finishing = false;
    }
    m_outputQueued.notify_all();
    for (std::thread& storer : m_storers) storer.join();
  }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  // Starts as many storers as workers, at least one, and then up to `count` workers; returns
  // how many workers started (none without a storer).
  std::size_t StartWorkers(std::size_t count) {
    try {
      for (std::size_t s = 0; s < count; ++s) m_storers.emplace_back(&Batch::Store, this);
    } catch (const std::system_error&) {
      if (m_storers.empty()) return 0;
    }
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
        m_freePlaces.push_back(place);
        Finished(job, true, std::move(prepared.failure));
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

  // With m_mutex held: the job is done.
  void Finished(std::size_t job, bool failed, std::string failure) {
    Outcome& outcome = m_outcomes[job];
    outcome.done = true;
    outcome.failed = failed;
    outcome.failure = std::move(failure);
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
      std::string output;
      std::string failure;
      const bool finished =
          Attempt([&] { output = m_steps.finish(m_jobs[job], place, worker); }, failure);

      // The place is free again; the output waits for a storer, while no more outputs wait than
      // there are workers.
      std::unique_lock lock(m_mutex);
      m_freePlaces.push_back(place);
      if (finished) {
        m_storeRoom.wait(lock, [&] { return m_outputs.size() < m_steps.workers; });
        m_outputs.emplace_back(job, std::move(output));
        m_outputQueued.notify_one();
      } else {
        Finished(job, true, std::move(failure));
      }
      lock.unlock();
      m_changed.notify_one();
    }
  }

  void Store() {
    for (;;) {
      std::pair<std::size_t, std::string> output;
      {
        std::unique_lock lock(m_mutex);
        m_outputQueued.wait(lock, [&] { return !m_outputs.empty() || !m_finishing; });
        if (m_outputs.empty()) return;
        output = std::move(m_outputs.front());
        m_outputs.pop_front();
      }
      m_storeRoom.notify_one();
      const std::size_t job = output.first;
      std::string failure;
      const bool stored = Attempt([&] { m_steps.store(m_jobs[job], output.second); }, failure);
      {
        const std::lock_guard lock(m_mutex);
        Finished(job, !stored, std::move(failure));
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
  std::condition_variable m_queued;        // a job was queued, or the batch closed
  std::condition_variable m_changed;       // a job or a place is done
  std::condition_variable m_outputQueued;  // an output waits, or the workers are gone
  std::condition_variable m_storeRoom;     // a storer took an output
  std::deque<std::pair<std::size_t, std::size_t>> m_queue;    // (job, place)
  std::deque<std::pair<std::size_t, std::string>> m_outputs;  // (job, output)
  std::vector<std::size_t> m_freePlaces;
  std::vector<Outcome> m_outcomes;
  std::size_t m_reported = 0;
  int m_failures = 0;
  bool m_closed = false;
  bool m_finishing = true;  // workers may still queue outputs
  BatchProgress m_progress;
  std::vector<std::thread> m_workers;
  std::vector<std::thread> m_storers;
};

}  // namespace

int RunParallelBatch(std::string_view command, const std::vector<BatchJob>& jobs,
                     const BatchSteps& steps) {
  const auto serially = [&] {
    return RunBatch(command, jobs, steps.quiet, [&](const BatchJob& job) {
      steps.prepare(job, 0);
      steps.store(job, steps.finish(job, 0, 0));
    });
  };
  if (steps.workers <= 1 || jobs.size() <= 1) return serially();
  Batch batch(command, jobs, steps);
  if (batch.StartWorkers(steps.workers) == 0) return serially();
  return batch.Run();
}

}  // namespace tovmar::cli
