#include "appearance/HttpGet.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "appearance/CurlLibrary.h"

namespace tovmar {

namespace {

constexpr const char* kHeadersCutText = "Connection closed in the middle of the response headers";
// The longest wait for the connection between two turns of the transfer: the progress callback
// is called at least this often, also while nothing arrives.
constexpr int kTurnMs = 50;

struct Download {
  std::string bytes;
  std::uint64_t maxBytes = 0;
  bool tooLarge = false;
  // True once the blank line that ends the last response's headers has arrived.
  bool headersComplete = false;
  const FetchProgress* progress = nullptr;
  bool cancelled = false;
};

// Notes where each response's headers begin (its status line) and end (the blank line), so that
// a connection closed in the middle of them is told from a complete, empty response.
std::size_t NoteHeaderLine(char* data, std::size_t size, std::size_t count, void* user) {
  auto* download = static_cast<Download*>(user);
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) download->headersComplete = false;
  if (line == "\r\n" || line == "\n") download->headersComplete = true;
  return line.size();
}

// Keeps the body as it arrives; taking fewer bytes than offered makes libcurl stop the transfer.
std::size_t AppendChunk(char* data, std::size_t size, std::size_t count, void* user) {
  auto* download = static_cast<Download*>(user);
  const std::size_t n = size * count;
  if (download->bytes.size() + n > download->maxBytes) {
    download->tooLarge = true;
    return 0;
  }
  download->bytes.append(data, n);
  return n;
}

// Passes the body's progress on; the callback's false makes libcurl stop the transfer.
int ReportProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
  auto* download = static_cast<Download*>(user);
  const auto count = [](curl_off_t n) {
    return n > 0 ? static_cast<std::uint64_t>(n) : std::uint64_t{0};
  };
  if ((*download->progress)(count(received), count(total))) return 0;
  download->cancelled = true;
  return 1;
}

struct CurlCleanup {
  decltype(&curl_easy_cleanup) cleanup;
  void operator()(CURL* curl) const { cleanup(curl); }
};

struct MultiCleanup {
  decltype(&curl_multi_cleanup) cleanup;
  void operator()(CURLM* multi) const { cleanup(multi); }
};

// Runs the transfer of `curl` to its end. curl_easy_perform waits up to a second at a time when
// nothing arrives, and calls the progress callback only that often; these turns are shorter, so a
// window driven from the callback keeps answering.
CURLcode Perform(const CurlLibrary& lib, CURL* curl, CURLMcode& multiCode) {
  const std::unique_ptr<CURLM, MultiCleanup> multi(lib.multiInit(), MultiCleanup{lib.multiCleanup});
  if (!multi) return CURLE_OUT_OF_MEMORY;
  multiCode = lib.multiAddHandle(multi.get(), curl);
  int running = 1;
  while (multiCode == CURLM_OK) {
    multiCode = lib.multiPerform(multi.get(), &running);
    if (multiCode != CURLM_OK || running == 0) break;
    multiCode = lib.multiPoll(multi.get(), nullptr, 0, kTurnMs, nullptr);
  }
  CURLcode code = CURLE_OK;
  int queued = 0;
  while (const CURLMsg* message = lib.multiInfoRead(multi.get(), &queued)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == curl) code = message->data.result;
  }
  lib.multiRemoveHandle(multi.get(), curl);
  return code;
}

void LimitProtocols(const CurlLibrary& lib, CURL* curl) {
#if LIBCURL_VERSION_NUM >= 0x075500
  lib.easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  lib.easySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
  lib.easySetopt(curl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
  lib.easySetopt(curl, CURLOPT_REDIR_PROTOCOLS,
                 static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
}

FetchResult Failed(std::string text, FetchFailure failure = FetchFailure::kBrokenOff,
                   std::uint64_t limit = 0) {
  return FetchResult{FetchStatus::kFailed, {}, std::move(text), failure, 0, limit};
}

FetchResult NotLoaded(std::string cause, FetchFailure failure, long httpStatus = 0) {
  return FetchResult{FetchStatus::kNotLoaded, {}, std::move(cause), failure, httpStatus, 0};
}

std::string HttpStatusText(long status) {
  return "the server answered HTTP status " + std::to_string(status);
}

}  // namespace

FetchResult HttpGet(const std::string& url, const FetchOptions& options,
                    const FetchProgress& progress) {
  std::string why;
  const CurlLibrary* lib = LoadCurlLibrary(why);
  if (lib == nullptr) return Failed(why);
  const std::unique_ptr<CURL, CurlCleanup> curl(lib->easyInit(), CurlCleanup{lib->easyCleanup});
  if (!curl) return Failed(lib->easyStrerror(CURLE_FAILED_INIT));

  Download download;
  download.maxBytes = options.maxBytes;
  char errorBuffer[CURL_ERROR_SIZE] = {};

  // Bounded in time, size and redirects; http and https only, also after a redirect.
  CURL* c = curl.get();
  lib->easySetopt(c, CURLOPT_URL, url.c_str());
  lib->easySetopt(c, CURLOPT_NOSIGNAL, 1L);
  lib->easySetopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeout.count()));
  lib->easySetopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeout.count()));
  lib->easySetopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
  lib->easySetopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  lib->easySetopt(c, CURLOPT_MAXREDIRS, options.maxRedirects);
  LimitProtocols(*lib, c);
  lib->easySetopt(c, CURLOPT_FAILONERROR, 1L);
  lib->easySetopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
  lib->easySetopt(c, CURLOPT_WRITEFUNCTION, AppendChunk);
  lib->easySetopt(c, CURLOPT_WRITEDATA, &download);
  lib->easySetopt(c, CURLOPT_HEADERFUNCTION, NoteHeaderLine);
  lib->easySetopt(c, CURLOPT_HEADERDATA, &download);
  if (progress) {
    download.progress = &progress;
    lib->easySetopt(c, CURLOPT_XFERINFOFUNCTION, ReportProgress);
    lib->easySetopt(c, CURLOPT_XFERINFODATA, &download);
    lib->easySetopt(c, CURLOPT_NOPROGRESS, 0L);
  }

  CURLMcode multiCode = CURLM_OK;
  const CURLcode code = Perform(*lib, c, multiCode);
  if (multiCode != CURLM_OK) return Failed(lib->multiStrerror(multiCode));
  long status = 0;
  lib->easyGetinfo(c, CURLINFO_RESPONSE_CODE, &status);

  // Sort the outcome: cancelled, too large, not there (silent), broken off (with text), or loaded.
  if (download.cancelled) return FetchResult{FetchStatus::kCancelled, {}, {}};
  if (download.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    return Failed(kTooLargeText, FetchFailure::kTooLarge, options.maxBytes);
  }
  switch (code) {
    case CURLE_OK:
      break;
    case CURLE_HTTP_RETURNED_ERROR:
      return NotLoaded(HttpStatusText(status), FetchFailure::kHttpStatus, status);
    case CURLE_COULDNT_RESOLVE_HOST:
      return NotLoaded("unknown host", FetchFailure::kUnknownHost);
    case CURLE_COULDNT_RESOLVE_PROXY:
      return NotLoaded("unknown proxy host", FetchFailure::kUnknownHost);
    case CURLE_COULDNT_CONNECT:
      return NotLoaded("connection refused", FetchFailure::kRefused);
    case CURLE_TOO_MANY_REDIRECTS:
      return Failed(errorBuffer[0] != '\0' ? errorBuffer : lib->easyStrerror(code),
                    FetchFailure::kRedirects, static_cast<std::uint64_t>(options.maxRedirects));
    case CURLE_OPERATION_TIMEDOUT:
      return Failed(errorBuffer[0] != '\0' ? errorBuffer : lib->easyStrerror(code),
                    FetchFailure::kTimedOut);
    default:
      return Failed(errorBuffer[0] != '\0' ? errorBuffer : lib->easyStrerror(code));
  }
  // libcurl takes a connection closed inside the headers for the end of a bodiless response.
  if (!download.headersComplete) return Failed(kHeadersCutText);
  if (status < 200 || status > 299) {
    return NotLoaded(HttpStatusText(status), FetchFailure::kHttpStatus, status);
  }
  return FetchResult{FetchStatus::kLoaded, std::move(download.bytes), {}};
}

}  // namespace tovmar
