#include "panel/UrlOpener.h"

#include <utility>

#include <wx/log.h>
#include <wx/utils.h>

namespace tovmar {

namespace {
UrlOpener* g_opener = nullptr;

// Hands the address to the desktop's default handler. Whether that worked is not looked at and
// not reported: the user sees a browser window or nothing.
void OpenInDefaultBrowser(const std::string& url) {
  wxLogNull noFailureDialog;
  wxLaunchDefaultBrowser(wxString::FromUTF8(url));
}
}  // namespace

void OpenUrl(const std::string& url) {
  if (g_opener != nullptr) {
    g_opener->Open(url);
  } else {
    OpenInDefaultBrowser(url);
  }
}

UrlOpener* InstallUrlOpener(UrlOpener* opener) {
  return std::exchange(g_opener, opener);
}

}  // namespace tovmar
