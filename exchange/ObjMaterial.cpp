#include "exchange/ObjMaterial.h"

#include <filesystem>
#include <system_error>

#include "base/FileBytes.h"

namespace tovmar {

ObjMaterial MakeObjMaterial(const std::string& objPath, const std::string& imagePath,
                            ObjOptions& options) {
  const std::filesystem::path obj = PathFromUtf8(objPath);
  std::filesystem::path mtl = obj;
  mtl.replace_extension(".mtl");
  options.materialLibrary = PathToUtf8(mtl.filename());
  options.material = PathToUtf8(obj.stem());
  for (char& c : options.material) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = '_';
  }
  if (options.material.empty()) options.material = "texture";

  // The image as seen from the OBJ file's folder, absolute when no relative way exists.
  std::error_code ec;
  const std::filesystem::path image = std::filesystem::absolute(PathFromUtf8(imagePath), ec);
  const std::filesystem::path folder = std::filesystem::absolute(obj, ec).parent_path();
  std::filesystem::path shown = image.lexically_proximate(folder);
  if (shown.empty()) shown = image;

  const std::u8string reference = shown.generic_u8string();

  ObjMaterial material;
  material.path = PathToUtf8(mtl);
  material.text = "# tovmar-cli export-obj\nnewmtl " + options.material +
                  "\nKa 1 1 1\nKd 1 1 1\nKs 0 0 0\nd 1\nillum 1\nmap_Kd " +
                  std::string(reference.begin(), reference.end()) + "\n";
  return material;
}

}  // namespace tovmar
