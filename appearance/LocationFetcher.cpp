#include "appearance/LocationFetcher.h"

#include "appearance/HttpGet.h"
#include "mesh/FileBytes.h"

namespace tovmar {

namespace {

LocationFetcher* g_fetcher = nullptr;

bool IsRemote(const std::string& location) {
  return location.starts_with("http://") || location.starts_with("https://");
}

FetchResult ReadLocalFile(const std::string& path, std::uint64_t maxBytes) {
  FetchResult result;
  switch (ReadWholeFile(path, result.bytes, maxBytes)) {
    case FileReadStatus::kOk:
      result.status = FetchStatus::kLoaded;
      break;
    case FileReadStatus::kTooLarge:
      result.status = FetchStatus::kFailed;
      result.errorText = kTooLargeText;
      break;
    case FileReadStatus::kCannotOpen:
    case FileReadStatus::kReadError:
      result.status = FetchStatus::kNotLoaded;
      break;
  }
  return result;
}

}  // namespace

FetchResult DefaultLocationFetcher::Fetch(const std::string& location) {
  if (IsRemote(location)) return HttpGet(location, m_options);
  return ReadLocalFile(location, m_options.maxBytes);
}

LocationFetcher& CurrentLocationFetcher() {
  static DefaultLocationFetcher defaultFetcher;
  return g_fetcher != nullptr ? *g_fetcher : defaultFetcher;
}

LocationFetcher* InstallLocationFetcher(LocationFetcher* fetcher) {
  LocationFetcher* previous = g_fetcher;
  g_fetcher = fetcher;
  return previous;
}

}  // namespace tovmar
