#include "app/RecentFiles.h"

#include <wx/config.h>
#include <wx/filehistory.h>

#include "app/Profile.h"

namespace tovmar {

namespace {
const char kSection[] = "/Recent File List/";
const char kPreviewPages[] = "/Settings/PreviewPages";
}  // namespace

wxFileHistory& RecentFiles::History() {
  static wxFileHistory history(kMaxEntries);
  return history;
}

void RecentFiles::Load() {
  wxConfigBase* config = wxConfigBase::Get();
  if (config == nullptr) return;
  // The newest entry is File1: add from the oldest so that File1 ends on top.
  for (int i = kMaxEntries; i >= 1; --i) {
    wxString path;
    if (config->Read(wxString::Format("%sFile%d", kSection, i), &path) && !path.empty()) {
      History().AddFileToHistory(path);
    }
  }
}

void RecentFiles::Add(const wxString& path) {
  History().AddFileToHistory(path);
}

bool RecentFiles::Save() {
  wxConfigBase* config = wxConfigBase::Get(false);
  if (config == nullptr) return true;
  config->DeleteGroup("/Recent File List");
  for (size_t i = 0; i < History().GetCount(); ++i) {
    config->Write(wxString::Format("%sFile%d", kSection, static_cast<int>(i) + 1),
                  History().GetHistoryFile(i));
  }
  if (!config->Exists(kPreviewPages)) config->Write(kPreviewPages, 0L);
  return WriteProfile(*config);
}

}  // namespace tovmar
