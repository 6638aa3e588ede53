#include "panel/TextureFileWatch.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

#include <wx/evtloop.h>
#include <wx/fswatcher.h>
#include <wx/log.h>

#include "app/FileNames.h"
#include "base/FileBytes.h"

namespace tovmar {

namespace {
// How often watching is tried again while the program's event loop has not started yet.
constexpr int kLoopRetryMs = 100;

// Turns the toolkit's assertions off while it lives.
class QuietAssertions {
 public:
  QuietAssertions() : m_previous(wxSetAssertHandler(nullptr)) {}
  ~QuietAssertions() { wxSetAssertHandler(m_previous); }
  QuietAssertions(const QuietAssertions&) = delete;
  QuietAssertions& operator=(const QuietAssertions&) = delete;

 private:
  wxAssertHandler_t m_previous;
};
}  // namespace

TextureFileWatch::TextureFileWatch(std::function<void(const wxString& path)> onSettled)
    : m_onSettled(std::move(onSettled)), m_timer(this) {
  Bind(wxEVT_FSWATCHER, &TextureFileWatch::OnFileSystemEvent, this);
  Bind(wxEVT_TIMER, &TextureFileWatch::OnTimer, this);
}

TextureFileWatch::~TextureFileWatch() {
  // The toolkit's watcher may still report (a folder already gone) while it is taken down; Stop
  // has let go of it by then, and its report finds nothing watched.
  Stop();
}

void TextureFileWatch::Watch(const wxString& path) {
  if (path.empty()) {
    Stop();
    return;
  }
  wxFileName wanted(path);
  wanted.MakeAbsolute();
  const bool watching = m_watcher != nullptr || m_timer.IsRunning();
  if (watching && wanted.GetFullPath() == Path()) return;
  Stop();
  m_path = wanted;
  StartWatcher();
}

void TextureFileWatch::Stop() {
  m_timer.Stop();
  m_watcher.reset();
  m_path.Clear();
  m_lastSeen = {};
}

void TextureFileWatch::StartWatcher() {
  // The toolkit's watcher joins the running event loop when it is made; before the loop runs
  // (a texture named on the command line) it waits for it.
  if (wxEventLoopBase::GetActive() == nullptr) {
    m_timer.StartOnce(kLoopRetryMs);
    return;
  }
  // A folder that cannot be watched (gone, not readable, out of watches) leaves the texture as
  // it is, without the toolkit's own error dialog. Where the system gives no more watchers, the
  // toolkit's watcher starts broken and fails an assertion when the folder is added to it.
  const wxLogNull quiet;
  const QuietAssertions noAssertionDialog;
  auto watcher = std::make_unique<wxFileSystemWatcher>();
  watcher->SetOwner(this);
  const wxFileName folder = wxFileName::DirName(m_path.GetPath());
  if (!watcher->Add(folder, wxFSW_EVENT_CREATE | wxFSW_EVENT_DELETE | wxFSW_EVENT_RENAME |
                                wxFSW_EVENT_MODIFY)) {
    return;
  }
  m_watcher = std::move(watcher);
}

TextureFileWatch::FileState TextureFileWatch::CurrentState() const {
  const std::filesystem::path path = PathFromUtf8(CorePath(m_path.GetFullPath()));
  std::error_code sizeError, timeError;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
  const auto modified = std::filesystem::last_write_time(path, timeError);
  if (sizeError || timeError) return {};
  return {true, size, std::chrono::nanoseconds(modified.time_since_epoch()).count()};
}

void TextureFileWatch::OnFileSystemEvent(wxFileSystemWatcherEvent& event) {
  // A rename over the file names it as the new path; a lost event (the queue overflowed) may
  // have been the file's.
  const wxString name = m_path.GetFullName();
  const bool ours = event.IsError() || event.GetPath().GetFullName() == name ||
                    event.GetNewPath().GetFullName() == name;
  if (!ours || m_watcher == nullptr) return;
  m_lastSeen = CurrentState();
  m_timer.StartOnce(kSettleMs);
}

void TextureFileWatch::OnTimer(wxTimerEvent&) {
  if (m_watcher == nullptr) {
    StartWatcher();
    return;
  }
  // Still being written: wait for the writer to stop. A file that went away is waited for too:
  // its return is a change of its own.
  const FileState now = CurrentState();
  if (now != m_lastSeen) {
    m_lastSeen = now;
    m_timer.StartOnce(kSettleMs);
    return;
  }
  if (now.exists) m_onSettled(Path());
}

}  // namespace tovmar
