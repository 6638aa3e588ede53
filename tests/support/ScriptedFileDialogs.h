// File dialogs whose answers a test scripts in advance; every request is recorded. Installed
// for the life of the object.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "app/FileDialogs.h"
#include "base/ScopedInstall.h"

namespace tovmar {

class ScriptedFileDialogs : public FileDialogs {
 public:
  // The next dialog answers with `path` (its file name taken from the last separator).
  void Choose(const wxString& path) {
    const size_t slash = path.find_last_of("/\\");
    m_answers.push_back(
        FileDialogAnswer{path, slash == wxString::npos ? path : path.substr(slash + 1)});
  }
  // The next dialog is cancelled.
  void Cancel() { m_answers.push_back(std::nullopt); }

  std::optional<FileDialogAnswer> AskOpenPath(const FileDialogRequest& request) override {
    return Answer(request);
  }
  std::optional<FileDialogAnswer> AskSavePath(const FileDialogRequest& request) override {
    return Answer(request);
  }

  // A folder dialog answers with the next scripted path, or is cancelled, the same way.
  std::optional<wxString> AskFolderPath(wxWindow* parent, const wxString& title,
                                        const wxString& initialFolder) override {
    requests.push_back(
        FileDialogRequest{parent, wxString(), wxString(), initialFolder, true, wxString(), title});
    if (m_answers.empty()) return std::nullopt;
    std::optional<FileDialogAnswer> answer = m_answers.front();
    m_answers.pop_front();
    if (!answer) return std::nullopt;
    return answer->path;
  }

  std::vector<FileDialogRequest> requests;

 private:
  std::optional<FileDialogAnswer> Answer(const FileDialogRequest& request) {
    requests.push_back(request);
    if (m_answers.empty()) return std::nullopt;
    std::optional<FileDialogAnswer> answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }

  std::deque<std::optional<FileDialogAnswer>> m_answers;
  ScopedInstall<FileDialogs, &InstallFileDialogs> m_installed{this};
};

}  // namespace tovmar
