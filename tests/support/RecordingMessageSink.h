// A message sink that records what would have been shown and asked, installed for the life of
// the object. Questions take the answers a test scripted, in order; without one the answer is No.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/MessageSink.h"
#include "base/ScopedInstall.h"

namespace tovmar {

class RecordingMessageSink : public MessageSink {
 public:
  void Show(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string& question) override {
    questions.push_back(question);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> answers;

 private:
  ScopedInstall<MessageSink, &InstallMessageSink> m_installed{this};
};

}  // namespace tovmar
