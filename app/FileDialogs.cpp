#include "app/FileDialogs.h"

#include <utility>

#include <wx/dirdlg.h>
#include <wx/filedlg.h>

namespace tovmar {

namespace {

class WxFileDialogs : public FileDialogs {
 public:
  std::optional<FileDialogAnswer> AskOpenPath(const FileDialogRequest& request) override {
    long style = wxFD_OPEN;
    if (request.mustExist) style |= wxFD_FILE_MUST_EXIST;
    return Ask(request, style);
  }
  std::optional<FileDialogAnswer> AskSavePath(const FileDialogRequest& request) override {
    return Ask(request, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  }
  std::optional<wxString> AskFolderPath(wxWindow* parent, const wxString& initialFolder) override {
    wxDirDialog dialog(parent, wxDirSelectorPromptStr, initialFolder,
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetPath();
  }

 private:
  static std::optional<FileDialogAnswer> Ask(const FileDialogRequest& request, long style) {
    wxFileDialog dialog(request.parent, wxFileSelectorPromptStr, request.initialFolder,
                        wxEmptyString, WxFilter(request.filter), style);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return FileDialogAnswer{dialog.GetPath(), dialog.GetFilename()};
  }
};

WxFileDialogs g_wxDialogs;
FileDialogs* g_dialogs = nullptr;

}  // namespace

FileDialogs& CurrentFileDialogs() {
  return g_dialogs != nullptr ? *g_dialogs : g_wxDialogs;
}

FileDialogs* InstallFileDialogs(FileDialogs* dialogs) {
  return std::exchange(g_dialogs, dialogs);
}

std::optional<FileDialogAnswer> AskExistingFile(wxWindow* parent, const wxString& filter,
                                                const wxString& defaultExtension,
                                                const wxString& initialFolder) {
  return CurrentFileDialogs().AskOpenPath(
      FileDialogRequest{parent, filter, defaultExtension, initialFolder, true});
}

std::optional<FileDialogAnswer> AskNewFile(wxWindow* parent, const wxString& filter,
                                           const wxString& defaultExtension,
                                           const wxString& initialFolder) {
  return CurrentFileDialogs().AskSavePath(
      FileDialogRequest{parent, filter, defaultExtension, initialFolder, false});
}

std::optional<wxString> AskExistingFolder(wxWindow* parent, const wxString& initialFolder) {
  return CurrentFileDialogs().AskFolderPath(parent, initialFolder);
}

wxString FolderOf(const FileDialogAnswer& answer) {
  if (answer.fileName.length() > answer.path.length()) return wxString();
  return answer.path.Left(answer.path.length() - answer.fileName.length());
}

wxString WxFilter(const wxString& filter) {
  wxString f = filter;
  while (f.EndsWith("|")) f.RemoveLast();
  return f;
}

}  // namespace tovmar
