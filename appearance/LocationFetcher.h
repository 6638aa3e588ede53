// Fetching the bytes of an appearance location: a local file, or an "http://" or "https://"
// address. Fetching is synchronous; a caller with a window shows a busy cursor around it, and for
// an address a progress dialog driven from the fetch's progress callback.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "base/ScopedInstall.h"

namespace tovmar {

enum class FetchStatus {
  kLoaded,     // `bytes` holds the document
  kNotLoaded,  // missing file or one that is not a regular file, unreachable host or HTTP error
               // status: nothing the window tells the user; for an address `errorText` names
               // the cause, which the command line prints
  kFailed,     // the fetch broke off; `errorText` says why
  kCancelled,  // the progress callback asked to stop: nothing to tell the user
};

// Why a fetch gave no document, for a message in the user's language.
enum class FetchFailure {
  kNone,         // loaded, cancelled, or a local file that is not there (nothing to tell)
  kHttpStatus,   // the server answered with `httpStatus`, not 2xx
  kUnknownHost,  // the host name (or the proxy's) did not resolve
  kRefused,      // nothing accepted the connection
  kTimedOut,     // the connection or the whole transfer took longer than its time limit
  kTooLarge,     // larger than `limit` bytes
  kRedirects,    // more than `limit` redirects
  kBrokenOff,    // any other network failure; `errorText` holds libcurl's own words
};

struct FetchResult {
  FetchStatus status = FetchStatus::kNotLoaded;
  std::string bytes;
  std::string errorText;
  FetchFailure failure = FetchFailure::kNone;
  long httpStatus = 0;
  std::uint64_t limit = 0;
};

struct FetchOptions {
  std::chrono::milliseconds connectTimeout{10'000};
  std::chrono::milliseconds totalTimeout{60'000};
  std::uint64_t maxBytes = 16u * 1024u * 1024u;
  long maxRedirects = 5;
};

// Told, often and also while nothing arrives, how many bytes of the body have come and how many
// the server announced (0: not announced). Returning false ends the fetch at once as kCancelled.
using FetchProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

// The text of a fetch refused for its size, locally or remotely.
inline constexpr const char* kTooLargeText = "Maximum file size exceeded";

class LocationFetcher {
 public:
  virtual ~LocationFetcher() = default;
  // `progress` (may be empty) follows a network fetch; a local file is read without it.
  virtual FetchResult Fetch(const std::string& location, const FetchProgress& progress) = 0;
};

// Locations that begin with "http://" or "https://" (exactly, lower case) go over the network;
// every other location is a UTF-8 file path.
class DefaultLocationFetcher : public LocationFetcher {
 public:
  DefaultLocationFetcher() = default;
  explicit DefaultLocationFetcher(const FetchOptions& options) : m_options(options) {}
  FetchResult Fetch(const std::string& location, const FetchProgress& progress) override;

 private:
  FetchOptions m_options;
};

// The fetcher that the commands read appearance locations with: the installed one, or a
// DefaultLocationFetcher with the default options when none is installed.
LocationFetcher& CurrentLocationFetcher();

// Installs `fetcher` (nullptr: the default one) and returns the previous one.
LocationFetcher* InstallLocationFetcher(LocationFetcher* fetcher);

// Installs a fetcher for the life of this object, then puts the previous one back.
using ScopedLocationFetcher = ScopedInstall<LocationFetcher, &InstallLocationFetcher>;

}  // namespace tovmar
