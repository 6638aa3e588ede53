// The message box with an OK button, as one small seam: the application shows a modal box, the
// command-line tool prints a line, tests record what was said.
#pragma once

#include <string>

namespace tovmar {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(const std::string& text) = 0;
};

// Shows `text` (UTF-8) through the installed sink; without one it goes to standard error.
void ShowMessage(const std::string& text);

// Installs `sink` (nullptr: standard error) and returns the previous one.
MessageSink* InstallMessageSink(MessageSink* sink);

}  // namespace tovmar
