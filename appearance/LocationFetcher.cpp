#include "appearance/LocationFetcher.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "appearance/HttpGet.h"
#include "base/FileBytes.h"
#include "base/Location.h"

namespace tovmar {

namespace {

LocationFetcher* g_fetcher = nullptr;

FetchResult TooLarge(std::uint64_t maxBytes) {
  return FetchResult{FetchStatus::kFailed, {}, kTooLargeText, FetchFailure::kTooLarge, 0, maxBytes};
}

// The whole of the regular file at `path`. A folder, pipe or device does not load: its reading
// could wait for ever for a writer or never end.
FetchResult ReadLocalFile(const std::string& path, std::uint64_t maxBytes) {
  const FilePtr file = OpenFileForReading(path);
  if (!file) return FetchResult{};
  const std::optional<std::uint64_t> size = RegularFileSize(file.get());
  if (!size) return FetchResult{};
  if (*size > maxBytes) return TooLarge(maxBytes);

  // Read as much as the size promises, then whatever the file has grown by since.
  std::string bytes(static_cast<std::size_t>(*size), '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  char chunk[64 * 1024];
  while (!std::feof(file.get()) && !std::ferror(file.get())) {
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
    if (bytes.size() + n > maxBytes) return TooLarge(maxBytes);
    bytes.append(chunk, n);
  }
  if (std::ferror(file.get())) return FetchResult{};
  return FetchResult{FetchStatus::kLoaded, std::move(bytes), {}};
}

}  // namespace

FetchResult DefaultLocationFetcher::Fetch(const std::string& location,
                                          const FetchProgress& progress) {
  if (IsRemoteLocation(location)) return HttpGet(location, m_options, progress);
  return ReadLocalFile(location, m_options.maxBytes);
}

LocationFetcher& CurrentLocationFetcher() {
  static DefaultLocationFetcher defaultFetcher;
  return g_fetcher != nullptr ? *g_fetcher : defaultFetcher;
}

LocationFetcher* InstallLocationFetcher(LocationFetcher* fetcher) {
  return std::exchange(g_fetcher, fetcher);
}

}  // namespace tovmar
