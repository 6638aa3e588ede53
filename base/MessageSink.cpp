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

bool AskYesNo(const std::string& question) {
  if (g_sink != nullptr) return g_sink->AskYesNo(question);
  std::fprintf(stderr, "%s\n", question.c_str());
  return false;
}

MessageSink* InstallMessageSink(MessageSink* sink) {
  return std::exchange(g_sink, sink);
}

}  // namespace tovmar
