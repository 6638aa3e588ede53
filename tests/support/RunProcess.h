// Running a built program from a test and collecting what it printed; reading back the files it
// wrote.
#pragma once

#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace tovmar::test {

struct ProcessResult {
  // The exit status, or -1 when the program did not exit normally.
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args` and standard input empty, and waits for it; standard output and
// error are captured whole.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

// The whole content of a file, or an empty text when it cannot be read.
std::string ReadFileText(const std::string& path);

// The text split at "\n"; a final line break does not add an empty line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace tovmar::test
