// A message sink that records what would have been shown, installed for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "base/MessageSink.h"
#include "base/ScopedInstall.h"

namespace tovmar {

class RecordingMessageSink : public MessageSink {
 public:
  void Show(const std::string& text) override { messages.push_back(text); }

  std::vector<std::string> messages;

 private:
  ScopedInstall<MessageSink, &InstallMessageSink> m_installed{this};
};

}  // namespace tovmar
