// Keeping the messages that the core shows during one step, so that a command can report them
// as part of its own error line instead of letting them reach standard error on their own.
#pragma once

#include <string>

#include "base/MessageSink.h"
#include "base/ScopedInstall.h"

namespace tovmar::cli {

class MessageCapture : public MessageSink {
 public:
  void Show(const std::string& text) override {
    if (!m_text.empty()) m_text += "; ";
    m_text += text;
  }

  // Every message shown so far, joined by "; "; empty when there was none.
  const std::string& Text() const { return m_text; }

 private:
  std::string m_text;
  ScopedInstall<MessageSink, &InstallMessageSink> m_installed{this};
};

}  // namespace tovmar::cli
