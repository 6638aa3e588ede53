#include "render/TextureBinding.h"

#include <mutex>
#include <vector>

#include "mesh/ContextTextures.h"
#include "mesh/SceneStore.h"

namespace tovmar {

GLuint BindTexture(const TextureObject& texture, ContextTextures* kept) {
  std::unique_lock<std::mutex> held;
  if (kept != nullptr) held = kept->Hold();
  GLuint name = kept != nullptr ? kept->NameOf(texture.Generation()) : 0;
  if (name != 0) {
    glBindTexture(GL_TEXTURE_2D, name);
    return name;
  }

  // A new texture, repeated and filtered linearly, holding the picture.
  glGenTextures(1, &name);
  if (name == 0) return 0;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texture.Width(), texture.Height(), 0, GL_RGBA,
               GL_UNSIGNED_BYTE, texture.Pixels().data());
  if (kept != nullptr) {
    // Whole before the record names it: another context that shares it may draw it next.
    glFinish();
    kept->Add(texture.Generation(), name);
  }
  return name;
}

void DeleteUnusedTextures(ContextTextures& kept, const SceneStore& store) {
  std::vector<std::uint64_t> held;
  for (std::size_t i = 0; i < store.TextureCount(); ++i) {
    const TextureObject* texture = store.GetTexture(i);
    if (texture->HasPixels()) held.push_back(texture->Generation());
  }
  const std::unique_lock<std::mutex> record = kept.Hold();
  const std::vector<std::uint32_t> unused = kept.TakeAllBut(held);
  if (!unused.empty()) glDeleteTextures(static_cast<GLsizei>(unused.size()), unused.data());
}

}  // namespace tovmar
