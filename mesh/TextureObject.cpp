#include "mesh/TextureObject.h"

namespace tovmar {

TextureObject::TextureObject() { header.name = "tex " + std::to_string(header.id); }

void TextureObject::ReleaseContents() {
  pixels = {};
  sourcePath = {};
}

}  // namespace tovmar
