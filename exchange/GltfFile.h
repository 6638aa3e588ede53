// The forms a glTF file takes and what writing one gives: the file itself and, for the separate
// form, the files that go beside it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tovmar {

enum class GltfForm {
  kBinary,    // one ".glb" file
  kEmbedded,  // one ".gltf" JSON file, the buffer (images included) as a data URI
  kSeparate,  // a ".gltf" JSON file naming NAME.bin and the images beside it
};

// How a textured material treats the texture's alpha.
enum class GltfAlpha {
  kOpaque,  // the texture's alpha is ignored, as the window draws it
  kBlend,   // blended by its alpha
  kMask,    // drawn where its alpha is at least one half, left out elsewhere
};

struct GltfFileOptions {
  GltfForm form = GltfForm::kBinary;
  // The separate form: NAME of NAME.bin and NAME_N.png, the files beside the JSON file.
  std::string baseName;
  GltfAlpha alpha = GltfAlpha::kOpaque;
};

struct GltfFiles {
  std::string main;  // the bytes of the ".glb" or ".gltf" file
  // The separate form's files beside it: names without a folder, and their bytes.
  std::vector<std::pair<std::string, std::string>> beside;
};

}  // namespace tovmar
