// The recent-file list of documents, 8 entries, kept in the profile under "Recent File List"
// as "File1" to "File8", and the profile's "Settings"/"PreviewPages" value.
#pragma once

#include <wx/string.h>

class wxFileHistory;

namespace tovmar {

class RecentFiles {
 public:
  static constexpr int kMaxEntries = 8;

  // Reads the list from the profile.
  static void Load();
  // Puts `path` at the top of the list.
  static void Add(const wxString& path);
  // Writes the list and the settings value back to the profile; false when it cannot be written.
  static bool Save();
  static wxFileHistory& History();
};

}  // namespace tovmar
