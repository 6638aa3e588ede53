#include "appearance/CurlLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace tovmar {

namespace {

#if defined(_WIN32)
constexpr const char* kLibraryName = "libcurl.dll";
#elif defined(__APPLE__)
constexpr const char* kLibraryName = "libcurl.4.dylib";
#else
constexpr const char* kLibraryName = "libcurl.so.4";
#endif

// The loaded library's entry point `name`, or null. The library stays loaded for the process.
void* OpenSymbol(const char* name, std::string& why) {
#ifdef _WIN32
  static const HMODULE library = LoadLibraryA(kLibraryName);
  if (library == nullptr) {
    why = std::string("cannot load ") + kLibraryName;
    return nullptr;
  }
  return reinterpret_cast<void*>(GetProcAddress(library, name));
#else
  static void* const library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = dlerror();
    why = error != nullptr ? error : std::string("cannot load ") + kLibraryName;
    return nullptr;
  }
  return dlsym(library, name);
#endif
}

template <typename Function>
bool Find(Function& function, const char* name, std::string& why) {
  function = reinterpret_cast<Function>(OpenSymbol(name, why));
  if (function == nullptr && why.empty()) why = std::string(kLibraryName) + " lacks " + name;
  return function != nullptr;
}

// Loads every entry point and initialises the library; the result's globalInit stays null when
// that failed, with `why` set.
CurlLibrary Load(std::string& why) {
  CurlLibrary curl;
  if (Find(curl.easyInit, "curl_easy_init", why) &&
      Find(curl.easyCleanup, "curl_easy_cleanup", why) &&
      Find(curl.easySetopt, "curl_easy_setopt", why) &&
      Find(curl.easyGetinfo, "curl_easy_getinfo", why) &&
      Find(curl.easyStrerror, "curl_easy_strerror", why) &&
      Find(curl.multiInit, "curl_multi_init", why) &&
      Find(curl.multiCleanup, "curl_multi_cleanup", why) &&
      Find(curl.multiAddHandle, "curl_multi_add_handle", why) &&
      Find(curl.multiRemoveHandle, "curl_multi_remove_handle", why) &&
      Find(curl.multiPerform, "curl_multi_perform", why) &&
      Find(curl.multiPoll, "curl_multi_poll", why) &&
      Find(curl.multiInfoRead, "curl_multi_info_read", why) &&
      Find(curl.multiStrerror, "curl_multi_strerror", why) &&
      Find(curl.globalInit, "curl_global_init", why) &&
      curl.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
    why = "libcurl could not be initialised";
    curl.globalInit = nullptr;
  }
  return curl;
}

}  // namespace

const CurlLibrary* LoadCurlLibrary(std::string& why) {
  // A function-local static runs once, also when several threads get here together.
  static std::string loadFailure;
  static const CurlLibrary curl = Load(loadFailure);
  if (curl.globalInit != nullptr) return &curl;
  why = loadFailure;
  return nullptr;
}

}  // namespace tovmar
