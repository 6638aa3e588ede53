// Watching one image file for the changes an image editor makes to it: written in place, or
// written aside and renamed over it, or deleted and made again. The file's folder is watched
// (the file itself may be replaced by another), and each change waits until the file has stopped
// changing before it is reported, once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <wx/event.h>
#include <wx/filename.h>
#include <wx/timer.h>

class wxFileSystemWatcherBase;
class wxFileSystemWatcherEvent;

namespace tovmar {

class TextureFileWatch : public wxEvtHandler {
 public:
  // How long a changed file must stay as it is before it counts as settled, in milliseconds.
  static constexpr int kSettleMs = 300;

  // `onSettled` is called with the watched path each time the file settled after a change and
  // is there. It may call Watch and Stop.
  explicit TextureFileWatch(std::function<void(const wxString& path)> onSettled);
  ~TextureFileWatch() override;
  TextureFileWatch(const TextureFileWatch&) = delete;
  TextureFileWatch& operator=(const TextureFileWatch&) = delete;

  // Watches the file `path` in place of any other; the same path again changes nothing. Before
  // the program's event loop runs, watching starts as soon as it does.
  void Watch(const wxString& path);
  // Watches nothing.
  void Stop();

  // The watched path; empty when nothing is watched.
  wxString Path() const { return m_path.GetFullPath(); }

 private:
  // What the file looked like at one moment: absent, or its size and modification time.
  struct FileState {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileState&) const = default;
  };

  FileState CurrentState() const;
  // Starts the folder's watcher, or retries later while no event loop runs yet.
  void StartWatcher();
  void OnFileSystemEvent(wxFileSystemWatcherEvent& event);
  void OnTimer(wxTimerEvent& event);

  std::function<void(const wxString& path)> m_onSettled;
  wxFileName m_path;
  // The platform's watcher, held by the base class that every platform's shares.
  std::unique_ptr<wxFileSystemWatcherBase> m_watcher;
  wxTimer m_timer;
  FileState m_lastSeen;
};

}  // namespace tovmar
