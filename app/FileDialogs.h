// The open-file and save-file dialogs as one small seam: the application shows wxFileDialog,
// tests script the answers and record what was asked.
#pragma once

#include <optional>

#include <wx/string.h>

class wxWindow;

namespace tovmar {

struct FileDialogRequest {
  wxWindow* parent = nullptr;
  wxString filter;            // "name|pattern|name|pattern"
  wxString defaultExtension;  // without the dot
  wxString initialFolder;     // empty: the toolkit's choice
  bool mustExist = false;
  wxString defaultFile;  // the name the save dialog proposes; empty: none
  wxString title;        // the dialog's caption, in Japanese
};

struct FileDialogAnswer {
  wxString path;      // the full path
  wxString fileName;  // its last component, as the dialog reports it
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file, or nothing when the user cancelled.
  virtual std::optional<FileDialogAnswer> AskOpenPath(const FileDialogRequest& request) = 0;
  virtual std::optional<FileDialogAnswer> AskSavePath(const FileDialogRequest& request) = 0;
  // The chosen existing folder (no trailing separator), or nothing when the user cancelled.
  virtual std::optional<wxString> AskFolderPath(wxWindow* parent, const wxString& title,
                                                const wxString& initialFolder) = 0;
};

// The installed dialogs (wxFileDialog unless a test installed others).
FileDialogs& CurrentFileDialogs();
// Installs `dialogs` (nullptr: wxFileDialog) and returns the previous ones.
FileDialogs* InstallFileDialogs(FileDialogs* dialogs);

// The captions the dialogs take when their command names none.
inline constexpr const char* kOpenFileTitle = "ファイルを開く";
inline constexpr const char* kSaveFileTitle = "名前を付けて保存";
inline constexpr const char* kOpenFolderTitle = "フォルダを開く";

// The open dialog for an existing file of `filter`, starting in `initialFolder` (empty: the
// toolkit's choice), through the installed dialogs; nothing when the user cancelled. `title`
// (UTF-8; empty: kOpenFileTitle) is the dialog's caption.
std::optional<FileDialogAnswer> AskExistingFile(wxWindow* parent, const wxString& filter,
                                                const wxString& defaultExtension,
                                                const wxString& initialFolder = wxString(),
                                                const char* title = kOpenFileTitle);
// The save dialog for a file of `filter`, the same way, proposing `proposedName` (empty: no
// name) with `defaultExtension`, under the caption `title` (UTF-8). The answer is the file that
// will be written: a name typed without an extension gets `defaultExtension`, and a file that is
// already there under the final name is replaced only when the user says so (asked through the
// message seam); nothing when the user cancelled or said No.
std::optional<FileDialogAnswer> AskNewFile(wxWindow* parent, const wxString& filter,
                                           const wxString& defaultExtension,
                                           const wxString& initialFolder = wxString(),
                                           const wxString& proposedName = wxString(),
                                           const char* title = kSaveFileTitle);

// The folder dialog through the installed dialogs, starting in `initialFolder` (empty: the
// toolkit's choice), under the caption `title` (UTF-8); nothing when the user cancelled.
std::optional<wxString> AskExistingFolder(wxWindow* parent,
                                          const wxString& initialFolder = wxString(),
                                          const char* title = kOpenFolderTitle);

// The folder part of a dialog answer, with its trailing separator: the path's first
// (length of path − length of file name) characters.
wxString FolderOf(const FileDialogAnswer& answer);

// Converts a filter in the "name|pattern|...||" form to wxFileDialog's form (no trailing bars).
// With `anyCase`, every letter of the patterns matches either case ("*.png" becomes
// "*.[pP][nN][gG]"): GTK compares patterns case-sensitively, and "PHOTO.JPG" is a JPEG file too.
// Save dialogs keep the plain patterns, from which the toolkit takes the extension it proposes.
wxString WxFilter(const wxString& filter, bool anyCase = false);

}  // namespace tovmar
