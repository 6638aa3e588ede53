// A message sink that records what would have been shown, installed for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "base/MessageSink.h"

namespace tovmar {

class RecordingMessageSink : public MessageSink {
 public:
  RecordingMessageSink() : m_previous(InstallMessageSink(this)) {}
  ~RecordingMessageSink() override { InstallMessageSink(m_previous); }
  RecordingMessageSink(const RecordingMessageSink&) = delete;
  RecordingMessageSink& operator=(const RecordingMessageSink&) = delete;

  void Show(const std::string& text) override { messages.push_back(text); }

  std::vector<std::string> messages;

 private:
  MessageSink* m_previous;
};

}  // namespace tovmar
