// The two kinds of location a user can name for an appearance file: a web address or a file.
#pragma once

#include <string_view>

namespace tovmar {

// True for locations that begin with "http://" or "https://" (exactly, lower case): they are
// fetched over the network. Every other location is a file path.
inline bool IsRemoteLocation(std::string_view location) {
  return location.starts_with("http://") || location.starts_with("https://");
}

}  // namespace tovmar
