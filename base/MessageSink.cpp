#include "base/MessageSink.h"

#include <cstdio>
#include <utility>

namespace tovmar {

namespace {
MessageSink* g_sink = nullptr;
}  // namespace

void ShowMessage(const std::string& text) {
  if (g_sink != nullptr) {
    g_sink->Show(text);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

MessageSink* InstallMessageSink(MessageSink* sink) {
  return std::exchange(g_sink, sink);
}

}  // namespace tovmar
