// The window's side of a remote appearance fetch: once the fetch has run for half a second, a
// progress dialog shows the address (its password as "***") and the bytes received, with a
// Cancel button (Escape too).
// The window stays single-threaded: the fetch's progress callback updates the dialog, and the
// dialog handles its own events there.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include <wx/cursor.h>
#include <wx/string.h>

#include "appearance/LocationFetcher.h"

class wxProgressDialog;
class wxWindow;

namespace tovmar {

class FetchProgressWindow {
 public:
  // How long a fetch runs before the dialog shows.
  static constexpr std::chrono::milliseconds kShowAfter{500};

  // Follows a fetch of `location` that starts now; the dialog belongs to `parent`'s top-level
  // window and goes with this object.
  FetchProgressWindow(wxWindow* parent, const wxString& location);
  ~FetchProgressWindow();
  FetchProgressWindow(const FetchProgressWindow&) = delete;
  FetchProgressWindow& operator=(const FetchProgressWindow&) = delete;

  // The progress callback for the fetch, bound to this object: false once the user cancelled.
  FetchProgress Callback();

 private:
  bool Update(std::uint64_t received, std::uint64_t total);

  wxWindow* m_parent;
  wxString m_location;
  std::chrono::steady_clock::time_point m_start;
  std::unique_ptr<wxProgressDialog> m_dialog;
  // The busy cursor gives way to the normal one while the dialog waits for a click.
  std::optional<wxBusyCursorSuspender> m_normalCursor;
};

}  // namespace tovmar
