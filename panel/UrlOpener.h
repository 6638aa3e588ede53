// Opening a web address, as one small seam: the application hands it to the default browser,
// tests record which address would have been opened.
#pragma once

#include <string>

namespace tovmar {

class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  virtual void Open(const std::string& url) = 0;
};

// Opens `url` (UTF-8) through the installed opener; without one, in the default browser.
void OpenUrl(const std::string& url);

// Installs `opener` (nullptr: the default browser) and returns the previous one.
UrlOpener* InstallUrlOpener(UrlOpener* opener);

}  // namespace tovmar
