#include "base/MessageSink.h"

#include <cstdio>

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
  MessageSink* previous = g_sink;
  g_sink = sink;
  return previous;
}

}  // namespace tovmar
