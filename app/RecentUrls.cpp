#include "app/RecentUrls.h"

#include <wx/config.h>

#include "base/UrlPasswords.h"

namespace tovmar {

namespace {
const char kGroup[] = "/RecentUrls";

wxString WithoutPassword(const wxString& url) {
  return wxString::FromUTF8(DropUrlPasswords(url.utf8_string()));
}

wxString Key(int number) {
  return wxString::Format("%s/Url%d", kGroup, number);
}

}  // namespace

wxArrayString RecentUrls::Load() {
  wxArrayString urls;
  wxConfigBase* config = wxConfigBase::Get(false);
  if (config == nullptr) return urls;
  for (int i = 1; i <= kMaxEntries; ++i) {
    wxString url;
    if (!config->Read(Key(i), &url) || url.empty()) continue;
    const wxString kept = WithoutPassword(url);
    if (kept != url) config->Write(Key(i), kept);
    urls.Add(kept);
  }
  return urls;
}

void RecentUrls::Add(const wxString& typed) {
  wxConfigBase* config = wxConfigBase::Get(false);
  if (config == nullptr) return;
  const wxString url = WithoutPassword(typed);
  wxArrayString urls = Load();
  if (const int old = urls.Index(url); old != wxNOT_FOUND) urls.RemoveAt(static_cast<size_t>(old));
  urls.Insert(url, 0);
  config->DeleteGroup(kGroup);
  for (size_t i = 0; i < urls.size() && i < static_cast<size_t>(kMaxEntries); ++i) {
    config->Write(Key(static_cast<int>(i) + 1), urls[i]);
  }
}

}  // namespace tovmar
