#include "tools/SampleFiles.h"

#include <filesystem>
#include <system_error>

#include "base/FileBytes.h"
#include "texture/decode/PngWriter.h"
#include "tools/LlmWriter.h"
#include "tools/SampleAppearance.h"
#include "tools/SampleMesh.h"
#include "tools/SampleParts.h"
#include "tools/SampleTexture.h"

namespace tovmar::sample {

namespace {

bool WriteOne(const std::filesystem::path& folder, const char* name, const std::string& bytes,
              std::string& error) {
  const std::string path = PathToUtf8(folder / name);
  if (bytes.empty()) {
    error = "could not make the contents of " + path;
    return false;
  }
  if (!WriteFileBytes(path, bytes)) {
    error = "could not write " + path;
    return false;
  }
  return true;
}

}  // namespace

bool WriteSampleFiles(const std::string& folder, std::string& error) {
  const std::filesystem::path dir = PathFromUtf8(folder);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    error = "could not create the folder " + folder + ": " + ec.message();
    return false;
  }
  if (!WriteOne(dir, kSampleMeshFile, WriteLlm(MakeSampleMesh()), error) ||
      !WriteOne(dir, kSampleTextureFile,
                EncodePngRgb(MakeSampleTexturePixels(), kTextureSize, kTextureSize,
                             PngCompression::kSmall),
                error) ||
      !WriteOne(dir, kSampleAppearanceFile, MakeSampleAppearanceXml(), error)) {
    return false;
  }
  for (const SamplePart& part : MakeSampleParts()) {
    if (!WriteOne(dir, part.file.c_str(), WriteLlm(part.mesh), error)) return false;
  }
  return true;
}

}  // namespace tovmar::sample
