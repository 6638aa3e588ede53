// libcurl, loaded by the first download rather than when the program starts: the library and
// the two dozen it brings (TLS, Kerberos, LDAP and more) would add several milliseconds to the
// start of every run, and most runs download nothing.
#pragma once

#include <curl/curl.h>

#include <string>

namespace tovmar {

// The entry points the downloads use.
struct CurlLibrary {
  decltype(&curl_global_init) globalInit = nullptr;
  decltype(&curl_easy_init) easyInit = nullptr;
  decltype(&curl_easy_cleanup) easyCleanup = nullptr;
  decltype(&curl_easy_setopt) easySetopt = nullptr;
  decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
  decltype(&curl_easy_strerror) easyStrerror = nullptr;
  decltype(&curl_multi_init) multiInit = nullptr;
  decltype(&curl_multi_cleanup) multiCleanup = nullptr;
  decltype(&curl_multi_add_handle) multiAddHandle = nullptr;
  decltype(&curl_multi_remove_handle) multiRemoveHandle = nullptr;
  decltype(&curl_multi_perform) multiPerform = nullptr;
  decltype(&curl_multi_poll) multiPoll = nullptr;
  decltype(&curl_multi_info_read) multiInfoRead = nullptr;
  decltype(&curl_multi_strerror) multiStrerror = nullptr;
};

// The library, loaded and initialised once for the process (also when several threads ask
// together), or null when it cannot be loaded; then `why` says what failed.
const CurlLibrary* LoadCurlLibrary(std::string& why);

}  // namespace tovmar
