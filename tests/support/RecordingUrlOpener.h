// A web address opener that records the addresses instead of starting a browser, installed for
// the life of the object.
#pragma once

#include <string>
#include <vector>

#include "panel/UrlOpener.h"

namespace tovmar {

class RecordingUrlOpener : public UrlOpener {
 public:
  RecordingUrlOpener() : m_previous(InstallUrlOpener(this)) {}
  ~RecordingUrlOpener() override { InstallUrlOpener(m_previous); }
  RecordingUrlOpener(const RecordingUrlOpener&) = delete;
  RecordingUrlOpener& operator=(const RecordingUrlOpener&) = delete;

  void Open(const std::string& url) override { urls.push_back(url); }

  std::vector<std::string> urls;

 private:
  UrlOpener* m_previous;
};

}  // namespace tovmar
