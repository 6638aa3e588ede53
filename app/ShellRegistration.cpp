#include "app/ShellRegistration.h"

#include <wx/ffile.h>
#include <wx/filefn.h>
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

// Writes `text` to `path` unless the file already holds exactly that text; true when it wrote.
bool WriteIfChanged(const wxString& path, const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  {
    wxFFile existing;
    wxString current;
    if (wxFileName::FileExists(path) && existing.Open(path, "rb") &&
        existing.ReadAll(&current, wxConvUTF8) && current == text) {
      return false;
    }
  }
  if (!wxFileName::Mkdir(wxFileName(path).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL)) {
    return false;
  }
  wxFFile file(path, "wb");
  return file.IsOpened() && file.Write(utf8.data(), utf8.length());
}

// Starts `tool` on `folder` without waiting for it, when the system has the tool: the desktop
// reads file types and the programs that open them from caches that these tools rebuild.
void RebuildCache(const wxString& tool, const wxString& folder) {
  wxPathList path;
  path.AddEnvList("PATH");
  const wxString program = path.FindAbsoluteValidPath(tool);
  if (program.empty()) return;
  const wxWCharBuffer programArg = program.wc_str();
  const wxWCharBuffer folderArg = folder.wc_str();
  const wchar_t* argv[] = {programArg.data(), folderArg.data(), nullptr};
  wxExecute(argv, wxEXEC_ASYNC | wxEXEC_HIDE_CONSOLE);
}

}  // namespace

void RegisterFileTypesForUser() {
#if defined(__linux__) || defined(__FreeBSD__)
  wxLogNull quiet;
  const wxString data = UserDataFolder();
  // Both files are written: a short-circuit would leave the second one stale.
  const bool documentType =
      WriteIfChanged(data + "/mime/packages/tovmar-document.xml", wxString::FromUTF8(kMimeTypeXml));
  const bool meshType = WriteIfChanged(data + "/mime/packages/tovmar-llm-mesh.xml",
                                       wxString::FromUTF8(kMeshMimeTypeXml));
  if (documentType || meshType) RebuildCache("update-mime-database", data + "/mime");
  const wxString desktop = wxString::Format(
      "[Desktop Entry]\nType=Application\nName=Tovmar\nExec=\"%s\" %%f\n"
      "MimeType=application/x-tovmar-document;model/x-llm-mesh;\nNoDisplay=true\n",
      wxStandardPaths::Get().GetExecutablePath());
  if (WriteIfChanged(data + "/applications/tovmar-user.desktop", desktop)) {
    RebuildCache("update-desktop-database", data + "/applications");
  }
#endif
}

}  // namespace tovmar
