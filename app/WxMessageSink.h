// Messages as a modal box with an OK button, owned by the main window.
#pragma once

#include "base/MessageSink.h"

namespace tovmar {

class WxMessageSink : public MessageSink {
 public:
  void Show(const std::string& text) override;
};

}  // namespace tovmar
