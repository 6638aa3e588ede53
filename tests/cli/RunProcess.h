// Running a built program from a test and collecting what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tovmar::test {

// A fresh, empty folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::string File(const std::string& name) const { return (m_path / name).string(); }
  // The names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path m_path;
};

struct ProcessResult {
  // The exit status, or -1 when the program did not exit normally.
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args` and waits for it; standard output and error are captured whole.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

// The whole content of a file, or an empty text when it cannot be read.
std::string ReadFileText(const std::string& path);

// The text split at "\n"; a final line break does not add an empty line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace tovmar::test
