// Messages as a modal box with an OK button, and questions with Yes and No, owned by the main
// window. A password written into an address in the text shows as "***".
#pragma once

#include "base/MessageSink.h"

namespace tovmar {

class WxMessageSink : public MessageSink {
 public:
  void Show(const std::string& text) override;
  bool AskYesNo(const std::string& question) override;
};

}  // namespace tovmar
