// One HTTP or HTTPS download with libcurl, bounded in time, size and redirects.
#pragma once

#include <string>

#include "appearance/LocationFetcher.h"

namespace tovmar {

// Downloads `url` (http or https only, redirects included). A status other than 2xx, an unknown
// host and a refused connection give kNotLoaded, with the cause in `errorText` ("the server
// answered HTTP status 404", "unknown host", "connection refused") for those who name it; every
// other failure, a time limit reached among them, gives kFailed with libcurl's error text, or with
// a text of its own when the connection closed inside the headers. `progress` (may be empty) is
// called every few tens of milliseconds while the transfer runs; its false gives kCancelled.
FetchResult HttpGet(const std::string& url, const FetchOptions& options,
                    const FetchProgress& progress);

}  // namespace tovmar
