#include "tests/support/DrawnPictures.h"

#include <wx/image.h>

#include <algorithm>

#include "tests/support/RunProcess.h"
#include "tests/support/WxImageHandlers.h"
#include "texture/decode/PngWriter.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {

Rgb Picture::At(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Picture ReadPicture(const std::string& path) {
  Picture picture;
  const std::string bytes = ReadFileText(path);
  // The colour type is byte 25: signature (8), IHDR length and name (8), width, height, depth.
  if (bytes.size() > 25 && bytes.compare(1, 3, "PNG") == 0) {
    picture.colorType = static_cast<unsigned char>(bytes[25]);
  }
  AddWxImageHandlers();
  wxImage image;
  if (!image.LoadFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG) || !image.IsOk()) {
    return picture;
  }
  picture.width = image.GetWidth();
  picture.height = image.GetHeight();
  picture.rgb.assign(image.GetData(), image.GetData() + static_cast<std::size_t>(picture.width) *
                                                            picture.height * 3);
  return picture;
}

Box DrawnBox(const Picture& picture) {
  Box box{picture.width, picture.height, -1, -1};
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.IsBackground(x, y)) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgb, int width,
              int height) {
  const std::string png = EncodePngRgb(rgb, width, height, PngCompression::kFast);
  return !png.empty() && WriteFileBytes(path, png);
}

LlmMesh MakeFacingQuad() {
  LlmMesh mesh;
  mesh.numVertices = 4;
  // Bottom left, bottom right, top left, top right as the camera on +X sees them (+Y is right).
  mesh.coords = {{0, -0.2f, -0.2f}, {0, 0.2f, -0.2f}, {0, -0.2f, 0.2f}, {0, 0.2f, 0.2f}};
  mesh.normals.assign(4, Vec3{1, 0, 0});
  mesh.binormals.assign(4, Vec3{0, 1, 0});
  mesh.texCoords = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  mesh.numFaces = 2;
  mesh.faces = {0, 1, 2, 1, 3, 2};
  return mesh;
}

}  // namespace tovmar::test
