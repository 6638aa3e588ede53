// The message box with an OK button, and the question with Yes and No, as one small seam: the
// application shows a modal box, the command-line tool prints a line, tests record what was said.
#pragma once

#include <string>

namespace tovmar {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(const std::string& text) = 0;
  // Asks `question` with the answers Yes and No; true for Yes. A sink that cannot ask says it
  // and answers No, so that nothing is done without the user's word.
  virtual bool AskYesNo(const std::string& question) {
    Show(question);
    return false;
  }
};

// Shows `text` (UTF-8) through the installed sink; without one it goes to standard error.
void ShowMessage(const std::string& text);

// Asks `question` (UTF-8) through the installed sink; without one it goes to standard error and
// the answer is No.
bool AskYesNo(const std::string& question);

// Installs `sink` (nullptr: standard error) and returns the previous one.
MessageSink* InstallMessageSink(MessageSink* sink);

}  // namespace tovmar
