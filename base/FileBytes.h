// Opening and reading files, with UTF-8 paths on every platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace tovmar {

// A UTF-8 path as the platform's path type (wide on Windows).
std::filesystem::path PathFromUtf8(const std::string& utf8Path);

// A platform path as UTF-8 text.
std::string PathToUtf8(const std::filesystem::path& path);

// An open file that is closed when it goes.
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file at `utf8Path` for binary reading, or returns null. Opening a pipe does not wait
// for a writer; reads from what was opened wait for data as usual.
FilePtr OpenFileForReading(const std::string& utf8Path);

// The size of `file` when it is a regular file; nothing for folders, pipes and devices, whose
// size says nothing about how much can be read.
std::optional<std::uint64_t> RegularFileSize(std::FILE* file);

enum class FileReadStatus { kOk, kCannotOpen, kReadError, kTooLarge };

// Reads the whole file at `utf8Path` into `out` with one pass. Files over `maxBytes` are refused
// with kTooLarge before anything is allocated; `out` is untouched unless the result is kOk.
FileReadStatus ReadWholeFile(const std::string& utf8Path, std::string& out, std::uint64_t maxBytes);

}  // namespace tovmar
