#include "app/OpenedFileKind.h"

#include <array>

#include <wx/filename.h>

namespace tovmar {

namespace {
constexpr std::array kPictureExtensions{"tga", "jpg", "jpeg", "bmp", "png", "gif", "tif", "tiff"};
}  // namespace

OpenedFileKind KindOfOpenedFile(const wxString& path) {
  const wxString extension = wxFileName(path).GetExt().Lower();
  if (extension == "llm") return OpenedFileKind::kMesh;
  if (extension == "xml") return OpenedFileKind::kAppearance;
  for (const char* picture : kPictureExtensions) {
    if (extension == picture) return OpenedFileKind::kTexture;
  }
  return OpenedFileKind::kDocument;
}

}  // namespace tovmar
