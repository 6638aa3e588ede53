#include "cli/OutputIsInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <vector>

#include "avatar/AvatarLoader.h"
#include "base/FileBytes.h"
#include "base/Location.h"
#include "cli/CliError.h"
#include "cli/ReplaceFile.h"
#include "cli/StandardInput.h"

namespace tovmar::cli {

namespace {

struct FileId {
  dev_t device;
  ino_t inode;
  bool operator==(const FileId&) const = default;
};

// The file `path` leads to, or nothing when it names none (or an address).
std::optional<FileId> IdOf(const std::string& path) {
  if (IsRemoteLocation(path)) return {};
  struct stat info {};
  if (::stat(PathFromUtf8(path).c_str(), &info) != 0) return {};
  return FileId{info.st_dev, info.st_ino};
}

// The regular file a standard stream is opened on; a terminal, pipe or device is no input file.
std::optional<FileId> IdOfDescriptor(int descriptor) {
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return FileId{info.st_dev, info.st_ino};
}

// The file the output goes to: for "-", the file standard output was opened on, if any.
std::optional<FileId> OutputIdOf(const std::string& output) {
  if (output != kStandardOutput) return IdOf(output);
  return IdOfDescriptor(STDOUT_FILENO);
}

// The file an input comes from: for "-", the file standard input was opened on, if any.
std::optional<FileId> InputIdOf(const std::string& input) {
  if (input != kStandardInput) return IdOf(input);
  return IdOfDescriptor(STDIN_FILENO);
}

}  // namespace

void RefuseInputAsOutput(const std::string& output, const ParsedArgs& args) {
  const std::optional<FileId> out = OutputIdOf(output);
  std::vector<std::string> inputs = args.positionals;
  for (const char* option : {"--appearance", "--texture", "--add", "--add-texture"}) {
    for (const std::string& value : args.Values(option)) inputs.push_back(value);
  }
  for (const std::string& value : args.Values("--part-texture")) {
    if (const std::size_t equals = value.find('='); equals != std::string::npos) {
      inputs.push_back(value.substr(equals + 1));
    }
  }
  // The character folder's skeleton and part files.
  if (const std::string* folder = args.Value("--avatar")) {
    inputs.push_back(PathToUtf8(PathFromUtf8(*folder) / kSkeletonFileName));
    for (const AvatarPartKind kind : kAvatarPartKinds) {
      inputs.push_back(PathToUtf8(PathFromUtf8(*folder) / AvatarPartFileName(kind)));
    }
  }
  for (const std::string& input : inputs) {
    if (out && InputIdOf(input) == out) {
      throw CliError("refusing to write '" + output + "': it is the input file '" + input + "'");
    }
  }
}

}  // namespace tovmar::cli
