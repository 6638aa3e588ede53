#include "mesh/LlmFile.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "base/FileBytes.h"
#include "mesh/FileByteReader.h"
#include "mesh/LlmMesh.h"
#include "mesh/LlmParser.h"

namespace tovmar {

LlmFileStatus ReadLlmFile(const std::string& path, LlmMesh& mesh, LlmReadReport& report,
                          LlmSections sections) {
  const FilePtr file = OpenFileForReading(path);
  if (!file) return LlmFileStatus::kCannotOpen;
  // Only a regular file has a size that bounds the reading.
  const std::optional<std::uint64_t> size = RegularFileSize(file.get());
  if (!size) return LlmFileStatus::kNotRegularFile;
  if (*size > kMaxMeshFileBytes) return LlmFileStatus::kTooLarge;

  LlmMesh read;
  LlmReadReport found;
  FileByteReader in(file.get(), *size);
  LlmParser(in, read, found).Parse(sections);
  if (std::ferror(file.get()) != 0) return LlmFileStatus::kReadError;
  read.path = path;
  mesh = std::move(read);
  report = found;
  return LlmFileStatus::kRead;
}

}  // namespace tovmar
