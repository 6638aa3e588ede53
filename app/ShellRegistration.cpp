#include "app/ShellRegistration.h"

#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "resources/MimeTypeXml.h"

namespace tovmar {

namespace {

// The XDG data folder of the user: $XDG_DATA_HOME, or ~/.local/share.
wxString UserDataFolder() {
  wxString folder;
  if (wxGetEnv("XDG_DATA_HOME", &folder) && !folder.empty()) return folder;
  return wxFileName::GetHomeDir() + "/.local/share";
}

// Writes `text` to `path` unless the file already holds exactly that text.
void WriteIfChanged(const wxString& path, const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  {
    wxFFile existing;
    wxString current;
    if (wxFileName::FileExists(path) && existing.Open(path, "rb") &&
        existing.ReadAll(&current, wxConvUTF8) && current == text) {
      return;
    }
  }
  if (!wxFileName::Mkdir(wxFileName(path).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL)) return;
  wxFFile file(path, "wb");
  if (file.IsOpened()) file.Write(utf8.data(), utf8.length());
}

}  // namespace

void RegisterDocumentTypeForUser() {
#if defined(__linux__) || defined(__FreeBSD__)
  wxLogNull quiet;
  const wxString data = UserDataFolder();
  WriteIfChanged(data + "/mime/packages/tovmar-document.xml", wxString::FromUTF8(kMimeTypeXml));
  const wxString desktop = wxString::Format(
      "[Desktop Entry]\nType=Application\nName=Tovmar\nExec=\"%s\" %%f\n"
      "MimeType=application/x-tovmar-document;\nNoDisplay=true\n",
      wxStandardPaths::Get().GetExecutablePath());
  WriteIfChanged(data + "/applications/tovmar-user.desktop", desktop);
#endif
}

}  // namespace tovmar
