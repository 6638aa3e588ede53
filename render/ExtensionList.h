// Extension lists as OpenGL, EGL and GLX give them: names separated by spaces.
#pragma once

#include <algorithm>
#include <string_view>

namespace tovmar {

// Whether a space-separated extension list names `word`; a null list names nothing.
inline bool HasExtension(const char* list, std::string_view word) {
  if (list == nullptr) return false;
  std::string_view rest(list);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find(' '), rest.size());
    if (rest.substr(0, end) == word) return true;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return false;
}

}  // namespace tovmar
