// Keeping the messages that the core shows during one step, so that a command can report them
// as part of its own error line instead of letting them reach standard error on their own.
#pragma once

#include <string>

#include "base/MessageSink.h"

namespace tovmar::cli {

class MessageCapture : public MessageSink {
 public:
  MessageCapture() : m_previous(InstallMessageSink(this)) {}
  ~MessageCapture() override { InstallMessageSink(m_previous); }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  void Show(const std::string& text) override {
    if (!m_text.empty()) m_text += "; ";
    m_text += text;
  }

  // Every message shown so far, joined by "; "; empty when there was none.
  const std::string& Text() const { return m_text; }

 private:
  MessageSink* m_previous;
  std::string m_text;
};

}  // namespace tovmar::cli
