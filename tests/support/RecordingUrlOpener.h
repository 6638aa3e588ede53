// A web address opener that records the addresses instead of starting a browser, installed for
// the life of the object.
#pragma once

#include <string>
#include <vector>

#include "base/ScopedInstall.h"
#include "panel/UrlOpener.h"

namespace tovmar {

class RecordingUrlOpener : public UrlOpener {
 public:
  void Open(const std::string& url) override { urls.push_back(url); }

  std::vector<std::string> urls;

 private:
  ScopedInstall<UrlOpener, &InstallUrlOpener> m_installed{this};
};

}  // namespace tovmar
