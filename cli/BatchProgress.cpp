#include "cli/BatchProgress.h"

#include <cstdio>

#include "base/FileBytes.h"
#include "cli/TerminalText.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tovmar::cli {

namespace {

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return ::isatty(STDERR_FILENO) == 1;
#endif
}

// Carriage return, then erase to the end of the line.
constexpr const char* kEraseLine = "\r\x1b[K";

}  // namespace

BatchProgress::BatchProgress(std::string_view command, std::size_t total, bool quiet)
    : m_command(command),
      m_total(total),
      m_shown(total > 1 && !quiet && StandardErrorIsTerminal()),
      m_previous(InstallMessageSink(this)) {}

BatchProgress::~BatchProgress() {
  Clear();
  InstallMessageSink(m_previous);
}

void BatchProgress::Show(const std::string& text) {
  Clear();
  InstallMessageSink(m_previous);
  ShowMessage(text);
  InstallMessageSink(this);
}

void BatchProgress::Clear() {
  if (!m_lineShown) return;
  std::fputs(kEraseLine, stderr);
  std::fflush(stderr);
  m_lineShown = false;
}

void BatchProgress::Done(const std::string& input, bool failed) {
  ++m_done;
  if (failed) ++m_failed;
  if (!m_shown) return;
  // The file's own name keeps the line short enough not to wrap, which would defeat the
  // rewriting in place.
  const std::string name = PrintableText(PathToUtf8(PathFromUtf8(input).filename()));
  std::fprintf(stderr, "%s%zu/%zu %s", kEraseLine, m_done, m_total, name.c_str());
  std::fflush(stderr);
  m_lineShown = true;
}

void BatchProgress::Finish() {
  Clear();
  if (!m_shown) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
  if (m_failed == 0) {
    std::fprintf(stderr, "%s: %zu files written in %.1f s\n", m_command.c_str(), m_done, seconds);
  } else {
    std::fprintf(stderr, "%s: %zu of %zu files written, %zu failed in %.1f s\n", m_command.c_str(),
                 m_done - m_failed, m_total, m_failed, seconds);
  }
  std::fflush(stderr);
}

}  // namespace tovmar::cli
