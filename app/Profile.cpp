#include "app/Profile.h"

#include <utility>

#ifndef __WXMSW__
#include <sys/stat.h>
#endif

#include <wx/config.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>

#include "app/FileNames.h"

namespace tovmar {

namespace {

bool* g_assertionSeen = nullptr;

void NoteAssertion(const wxString&, int, const wxString&, const wxString&, const wxString&) {
  if (g_assertionSeen != nullptr) *g_assertionSeen = true;
}

// Takes the place of the active log target and of the assertion handler while it lives, and
// notes whether a warning or an error was logged or an assertion failed, so that no dialog of
// the toolkit shows it. (A line such as "=value" in a damaged profile fails an assertion of the
// toolkit's profile reader, which then reads on.)
class ProblemCatcher : public wxLog {
 public:
  ProblemCatcher()
      : m_previousLog(wxLog::SetActiveTarget(this)),
        m_previousAssertionHandler(wxSetAssertHandler(NoteAssertion)),
        m_previousAssertionSeen(std::exchange(g_assertionSeen, &m_caught)) {}
  ~ProblemCatcher() override {
    g_assertionSeen = m_previousAssertionSeen;
    wxSetAssertHandler(m_previousAssertionHandler);
    wxLog::SetActiveTarget(m_previousLog);
  }
  ProblemCatcher(const ProblemCatcher&) = delete;
  ProblemCatcher& operator=(const ProblemCatcher&) = delete;

  bool Caught() const { return m_caught; }

 protected:
  void DoLogRecord(wxLogLevel level, const wxString&, const wxLogRecordInfo&) override {
    if (level <= wxLOG_Warning) m_caught = true;
  }

 private:
  wxLog* m_previousLog;
  wxAssertHandler_t m_previousAssertionHandler;
  bool* m_previousAssertionSeen;
  bool m_caught = false;
};

}  // namespace

wxString ProfilePath() {
#ifdef __WXMSW__
  return wxEmptyString;
#else
  // Tovmar/Tovmar.conf in $XDG_CONFIG_HOME (~/.config), with the XDG file layout the application
  // takes at start: wxWidgets 3.2 would put a profile kept in a folder of its own into the
  // dot-folder ~/.Tovmar.
  wxFileName profile(wxStandardPaths::Get().GetUserConfigDir(), "Tovmar.conf");
  profile.AppendDir("Tovmar");
  return profile.GetFullPath();
#endif
}

std::unique_ptr<wxConfigBase> OpenProfile(const wxString& path, bool& readable) {
  // The folder must exist before the profile is first written; when it cannot be made, writing
  // fails later and says so.
  if (!path.empty()) {
    wxLogNull quiet;
    wxFileName::Mkdir(wxFileName(path).GetPath(),
                      wxPOSIX_USER_READ | wxPOSIX_USER_WRITE | wxPOSIX_USER_EXECUTE,
                      wxPATH_MKDIR_FULL);
  }
  ProblemCatcher problems;
  // The application's own name and vendor name the profile.
  auto profile = std::make_unique<wxConfig>(wxEmptyString, wxEmptyString, path, wxEmptyString,
                                            wxCONFIG_USE_LOCAL_FILE);
  readable = !problems.Caught();
#ifndef __WXMSW__
  // The profile is the user's alone (it names the files and addresses used): a new one is made
  // 0600, and one that others could read is narrowed first, because the toolkit writes the
  // profile anew with the mode the old file had.
  profile->SetUmask(0077);
  if (!path.empty()) ::chmod(CorePath(path).c_str(), S_IRUSR | S_IWUSR);
#endif
  return profile;
}

bool WriteProfile(wxConfigBase& profile) {
  ProblemCatcher problems;
  return profile.Flush() && !problems.Caught();
}

std::string UnreadableProfileMessage(const wxString& path) {
  return "設定ファイルが読み込めませんでした。\n" + path.utf8_string();
}

std::string UnwritableProfileMessage(const wxString& path) {
  return "設定ファイルに書き込めませんでした。\n" + path.utf8_string();
}

}  // namespace tovmar
