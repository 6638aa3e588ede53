#include "panel/StatusTexts.h"

#include "base/Location.h"
#include "base/UrlPasswords.h"

namespace tovmar {

namespace {

// The last component of a file path, either separator counting.
std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string MeshStatusText(const std::string& path, std::size_t vertices, std::size_t targets) {
  return "メッシュ: " + FileNameOf(path) + " (頂点 " + std::to_string(vertices) + "、ターゲット " +
         std::to_string(targets) + ")";
}

std::string TextureStatusText(const std::string& path, int width, int height) {
  return "テクスチャ: " + FileNameOf(path) + " (" + std::to_string(width) + " × " +
         std::to_string(height) + ")";
}

std::string AppearanceStatusText(const std::string& location, int targets) {
  const std::string shown =
      IsRemoteLocation(location) ? MaskUrlPasswords(location) : FileNameOf(location);
  return "Avatar 設定: " + shown + " (ターゲット " + std::to_string(targets) + " 個)";
}

}  // namespace tovmar
