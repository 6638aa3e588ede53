// The window's messages, in Japanese, for an appearance location that gave no parameters: each
// names the location (a password in an address shown as "***") and says what happened.
#pragma once

#include <optional>
#include <string>

#include "appearance/LocationFetcher.h"

namespace tovmar {

// The message for `fetched`, a fetch of `location` that did not load; nothing when there is
// nothing to tell (cancelled, or a local file that is not there, which the window passes over).
std::optional<std::string> FetchFailureMessage(const std::string& location,
                                               const FetchResult& fetched);

// The message for an address that answered with a document holding no appearance parameters.
std::string NotAppearanceMessage(const std::string& location);

}  // namespace tovmar
