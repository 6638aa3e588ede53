// The web addresses of appearance files read last, newest first, kept in the profile under
// "RecentUrls" as "Url1" to "Url8".
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

namespace tovmar {

class RecentUrls {
 public:
  static constexpr int kMaxEntries = 8;

  // The addresses in the profile, newest first; none without a profile.
  static wxArrayString Load();
  // Puts `url` at the top of the list in the profile, dropping an older copy of it and the
  // entries past kMaxEntries. The profile is written with the recent-file list.
  static void Add(const wxString& url);
};

}  // namespace tovmar
