#include "panel/ViewExports.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include <wx/image.h>

#include "app/FileNames.h"
#include "appearance/AppearanceXmlWriter.h"
#include "base/MessageSink.h"
#include "base/ReplaceFile.h"
#include "exchange/ObjMaterial.h"
#include "exchange/ObjText.h"
#include "mesh/MeshObject.h"
#include "render/window/GLView.h"
#include "texture/decode/PngWriter.h"

namespace tovmar {

namespace {

const char kNotWritten[] = "ファイルを保存できませんでした。\n";

bool Replaced(const std::string& path, std::string_view bytes) {
  try {
    ReplaceFileContents(path, bytes);
  } catch (const FileWriteError&) {
    return false;
  }
  return true;
}

// Writes `bytes` to `path` whole; an empty text means there was nothing to write. The message
// names the file as the dialogs show it, also where its name is not valid UTF-8.
bool WriteWhole(const std::string& path, std::string_view bytes) {
  if (!bytes.empty() && Replaced(path, bytes)) return true;
  ShowMessage(kNotWritten + WxPath(path).utf8_string());
  return false;
}

}  // namespace

bool SaveViewPicture(GLView& view, const std::string& path) {
  const wxImage frame = view.CaptureFrame();
  if (!frame.IsOk()) {
    ShowMessage("画像を作成できませんでした。");
    return false;
  }
  const unsigned char* data = frame.GetData();
  const std::vector<std::uint8_t> rgb(
      data, data + static_cast<std::size_t>(frame.GetWidth()) * frame.GetHeight() * 3);
  return WriteWhole(path,
                    EncodePngRgb(rgb, frame.GetWidth(), frame.GetHeight(), PngCompression::kFast));
}

bool ExportShapedObj(const LlmMesh& mesh, const MeshObject* object, const std::string& path,
                     const std::string& texturePath) {
  if (object == nullptr) return WriteWhole(path, {});
  ObjOptions options;
  if (!texturePath.empty()) {
    const ObjMaterial material = MakeObjMaterial(path, texturePath, options);
    if (!WriteWhole(material.path, material.text)) return false;
  }
  return WriteWhole(path, ObjText(mesh, *object, options));
}

bool SaveShapeFile(const LlmMesh& mesh, const AppearanceIds& ids, const std::string& path,
                   const std::string& archetypeName) {
  const ShapeParams shape = MakeShapeParams(mesh, ids);
  if (!WriteWhole(path, AppearanceXml(shape.params, archetypeName))) return false;
  if (!shape.leftOut.empty()) {
    std::string message = "次のモーフは形状ファイルに書けないため、保存しませんでした。";
    for (const std::string& name : shape.leftOut) message += "\n" + name;
    ShowMessage(message);
  }
  return true;
}

}  // namespace tovmar
