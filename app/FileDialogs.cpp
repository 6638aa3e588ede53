#include "app/FileDialogs.h"

#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

#include "app/FileNames.h"
#include "base/FileBytes.h"
#include "base/MessageSink.h"

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
    // Not the toolkit's overwrite question: it would ask about the name as typed, before the
    // extension is added. AskNewFile asks about the final name instead.
    return Ask(request, wxFD_SAVE);
  }
  std::optional<wxString> AskFolderPath(wxWindow* parent, const wxString& title,
                                        const wxString& initialFolder) override {
    wxDirDialog dialog(parent, title, initialFolder, wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetPath();
  }

 private:
  static std::optional<FileDialogAnswer> Ask(const FileDialogRequest& request, long style) {
    const bool open = (style & wxFD_OPEN) != 0;
    wxFileDialog dialog(request.parent, request.title, request.initialFolder, request.defaultFile,
                        WxFilter(request.filter, open), style);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return FileDialogAnswer{dialog.GetPath(), dialog.GetFilename()};
  }
};

// The question asked before the file `fileName` is replaced.
std::string ReplaceFileQuestion(const wxString& fileName) {
  return "「" + fileName.utf8_string() + "」は既にあります。\n置き換えますか?";
}

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
                                                const wxString& initialFolder, const char* title) {
  return CurrentFileDialogs().AskOpenPath(FileDialogRequest{parent, filter, defaultExtension,
                                                            initialFolder, true, wxString(),
                                                            wxString::FromUTF8(title)});
}

std::optional<FileDialogAnswer> AskNewFile(wxWindow* parent, const wxString& filter,
                                           const wxString& defaultExtension,
                                           const wxString& initialFolder,
                                           const wxString& proposedName, const char* title) {
  const wxString proposed =
      proposedName.empty() ? wxString() : proposedName + "." + defaultExtension;
  std::optional<FileDialogAnswer> answer = CurrentFileDialogs().AskSavePath(FileDialogRequest{
      parent, filter, defaultExtension, initialFolder, false, proposed, wxString::FromUTF8(title)});
  if (!answer || answer->path.empty()) return std::nullopt;
  if (!defaultExtension.empty() && wxFileName(answer->path).GetExt().empty()) {
    answer->path += "." + defaultExtension;
    answer->fileName += "." + defaultExtension;
  }
  // Anything of that name counts, a link that leads nowhere too: writing would go through it.
  std::error_code error;
  const std::filesystem::file_type type =
      std::filesystem::symlink_status(PathFromUtf8(CorePath(answer->path)), error).type();
  const bool taken =
      type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none;
  if (taken && !AskYesNo(ReplaceFileQuestion(answer->fileName))) return std::nullopt;
  return answer;
}

std::optional<wxString> AskExistingFolder(wxWindow* parent, const wxString& initialFolder,
                                          const char* title) {
  return CurrentFileDialogs().AskFolderPath(parent, wxString::FromUTF8(title), initialFolder);
}

wxString FolderOf(const FileDialogAnswer& answer) {
  if (answer.fileName.length() > answer.path.length()) return wxString();
  return answer.path.Left(answer.path.length() - answer.fileName.length());
}

wxString WxFilter(const wxString& filter, bool anyCase) {
  wxString f = filter;
  while (f.EndsWith("|")) f.RemoveLast();
  if (!anyCase) return f;
  // The fields alternate between a name and its patterns; only the patterns change.
  wxString out;
  bool inPattern = false;
  for (const wxUniChar c : f) {
    if (c == '|') {
      inPattern = !inPattern;
      out += c;
    } else if (inPattern && c.IsAscii() && std::isalpha(static_cast<unsigned char>(c.GetValue()))) {
      const char letter = static_cast<char>(c.GetValue());
      out << '[' << static_cast<char>(std::tolower(letter))
          << static_cast<char>(std::toupper(letter)) << ']';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tovmar
