// The material file an OBJ file names when it has a texture: NAME.mtl beside NAME.obj, with one
// material whose diffuse map is the texture's image.
#pragma once

#include <string>

#include "exchange/ObjText.h"

namespace tovmar {

struct ObjMaterial {
  std::string path;  // NAME.mtl in the OBJ file's folder (UTF-8)
  std::string text;  // the material file's text
};

// The material file for the OBJ file at `objPath` (UTF-8) dressed with the image at `imagePath`,
// and in `options` the mtllib and usemtl names the OBJ text needs for it. The material is named
// after the OBJ file (white space made "_"); map_Kd names the image relative to the OBJ file's
// folder where it can, with "/" between folders.
ObjMaterial MakeObjMaterial(const std::string& objPath, const std::string& imagePath,
                            ObjOptions& options);

}  // namespace tovmar
