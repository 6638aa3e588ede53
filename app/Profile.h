// The program's profile: the recent-file list and the settings value, in Tovmar/Tovmar.conf of
// the user's configuration folder (the registry on Windows). A profile that cannot be read or
// written is told in one message of the program's own, naming the file; the toolkit's English
// error dialogs are kept back, and the program goes on without it.
#pragma once

#include <memory>
#include <string>

#include <wx/string.h>

class wxConfigBase;

namespace tovmar {

// Where the profile of this user is kept; empty where the toolkit chooses (the registry).
wxString ProfilePath();

// Opens the profile at `path` (empty: the toolkit's place). `readable` turns false when the file
// exists but could not be read whole: what could be read is kept.
std::unique_ptr<wxConfigBase> OpenProfile(const wxString& path, bool& readable);

// Writes what changed in `profile` back; false when it could not be written.
bool WriteProfile(wxConfigBase& profile);

// The messages, in Japanese, with the file's path on a line of its own.
std::string UnreadableProfileMessage(const wxString& path);
std::string UnwritableProfileMessage(const wxString& path);

}  // namespace tovmar
