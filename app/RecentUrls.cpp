#include "app/RecentUrls.h"

#include <wx/config.h>

namespace tovmar {

namespace {
const char kGroup[] = "/RecentUrls";
}  // namespace

wxArrayString RecentUrls::Load() {
  wxArrayString urls;
  wxConfigBase* config = wxConfigBase::Get(false);
  if (config == nullptr) return urls;
  for (int i = 1; i <= kMaxEntries; ++i) {
    wxString url;
    if (config->Read(wxString::Format("%s/Url%d", kGroup, i), &url) && !url.empty()) {
      urls.Add(url);
    }
  }
  return urls;
}

void RecentUrls::Add(const wxString& url) {
  wxConfigBase* config = wxConfigBase::Get(false);
  if (config == nullptr) return;
  wxArrayString urls = Load();
  if (const int old = urls.Index(url); old != wxNOT_FOUND) urls.RemoveAt(static_cast<size_t>(old));
  urls.Insert(url, 0);
  config->DeleteGroup(kGroup);
  for (size_t i = 0; i < urls.size() && i < static_cast<size_t>(kMaxEntries); ++i) {
    config->Write(wxString::Format("%s/Url%d", kGroup, static_cast<int>(i) + 1), urls[i]);
  }
}

}  // namespace tovmar
