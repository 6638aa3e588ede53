// The web addresses of appearance files read last, newest first, kept in the profile under
// "RecentUrls" as "Url1" to "Url8". A password written into an address is never kept: the
// address is kept without it ("http://user@host/"), so the user types it again to use it.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

namespace tovmar {

class RecentUrls {
 public:
  static constexpr int kMaxEntries = 8;

  // The addresses in the profile, newest first; none without a profile. Passwords that an older
  // profile holds are left out, there too.
  static wxArrayString Load();
  // Puts `url` at the top of the list in the profile, dropping an older copy of it and the
  // entries past kMaxEntries. The profile is written with the recent-file list.
  static void Add(const wxString& url);
};

}  // namespace tovmar
