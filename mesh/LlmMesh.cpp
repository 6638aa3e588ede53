#include "mesh/LlmMesh.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "base/Text.h"
#include "mesh/ByteReader.h"
#include "mesh/LlmFile.h"
#include "mesh/LlmParser.h"

namespace tovmar {

static_assert(std::endian::native == std::endian::little,
              "the reader copies little-endian file arrays straight into memory");

std::string MorphTarget::DisplayName() const {
  // At most the 64 bytes of the file's name block, even when the slot's last byte was overwritten.
  const auto end = std::find(name.begin(), name.begin() + 64, '\0');
  return EightBitToUtf8(
      std::string_view(name.data(), static_cast<std::size_t>(end - name.begin())));
}

bool LlmMesh::Load(const std::string& newPath) {
  LlmMesh read;
  LlmReadReport report;
  const LlmFileStatus status = ReadLlmFile(newPath, read, report);
  if (status == LlmFileStatus::kCannotOpen) path = newPath;
  if (status == LlmFileStatus::kRead && report.IsMesh()) *this = std::move(read);
  return true;
}

LlmReadReport LlmMesh::LoadFromMemory(std::string_view bytes) {
  LlmMesh m;
  LlmReadReport report;
  ByteReader in(bytes);
  LlmParser(in, m, report).Parse();
  m.path = std::move(path);
  *this = std::move(m);
  return report;
}

void LlmMesh::Release() {
  std::string keptPath = std::move(path);
  *this = LlmMesh();
  path = std::move(keptPath);
}

MorphTarget* LlmMesh::FindMorphTarget(std::string_view name) {
  for (MorphTarget& target : morphTargets) {
    if (target.DisplayName() == name) return &target;
  }
  return nullptr;
}

}  // namespace tovmar
