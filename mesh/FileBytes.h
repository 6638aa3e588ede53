// Reading a whole file into memory, with UTF-8 paths on every platform.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tovmar {

// A UTF-8 path as the platform's path type (wide on Windows).
std::filesystem::path PathFromUtf8(const std::string& utf8Path);

// A platform path as UTF-8 text.
std::string PathToUtf8(const std::filesystem::path& path);

enum class FileReadStatus { kOk, kCannotOpen, kReadError, kTooLarge };

// Reads the whole file at `utf8Path` into `out` with one pass. Files over `maxBytes` are refused
// with kTooLarge before anything is allocated; `out` is untouched unless the result is kOk.
FileReadStatus ReadWholeFile(const std::string& utf8Path, std::string& out, std::uint64_t maxBytes);

}  // namespace tovmar
