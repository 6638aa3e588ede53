// Drawing one mesh object with client-side arrays and its texture, which the current context
// keeps from one draw to the next where the store knows what that context holds.
#include "mesh/MeshObject.h"
#include "mesh/SceneStore.h"
#include "render/Camera.h"
#include "render/GL.h"
#include "render/TextureBinding.h"

namespace tovmar {

int MeshObject::Draw(SceneStore& store) {
  if (PositionCount() == 0 || !IsVisible()) return 0;

  // The texture counts only when it exists and holds pixels.
  const auto mode = static_cast<GLenum>(flags & kPrimitiveModeMask);
  const TextureObject* texture = nullptr;
  if (TexCoordCount() > 0 && (flags & kTextureDisabled) == 0 && textureId != -1) {
    texture = store.FindTexture(textureId);
    if (texture != nullptr && !texture->HasPixels()) texture = nullptr;
  }
  const bool textured = texture != nullptr;

  // Client-side arrays.
  ContextTextures* kept = store.CurrentContextTextures();
  GLuint name = 0;
  if (!positions.empty()) {
    glEnableClientState(GL_VERTEX_ARRAY);
    if (!normals.empty()) glEnableClientState(GL_NORMAL_ARRAY);
    if (textured) glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    if (!normals.empty()) glNormalPointer(GL_FLOAT, 0, normals.data());

    // A reloaded picture has a new generation, so the next paint shows it.
    if (textured) {
      glEnable(GL_TEXTURE_2D);
      name = BindTexture(*texture, kept);
      glTexCoordPointer(2, GL_FLOAT, 8, texCoords.data());
    }
  }

  // Placement.
  glMatrixMode(GL_MODELVIEW);
  translation.Set(SnapToHundredths(translation.x), SnapToHundredths(translation.y),
                  SnapToHundredths(translation.z));
  glTranslatef(translation.x, translation.y, translation.z);
  glRotatef(rotation.x, 1.0f, 0.0f, 0.0f);
  glRotatef(rotation.y, 0.0f, 1.0f, 0.0f);
  glRotatef(rotation.z, 0.0f, 0.0f, 1.0f);
  glScalef(scale.x, scale.y, scale.z);

  // One draw call for the whole object.
  if (!indices.empty()) {
    glDrawElements(mode, IndexCount(), GL_UNSIGNED_INT, indices.data());
  } else if (!positions.empty()) {
    glDrawArrays(GL_TRIANGLES, 0, PositionCount() / 3);
  }

  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (kept == nullptr && name != 0) glDeleteTextures(1, &name);
  if (textured) glDisable(GL_TEXTURE_2D);
  return 1;
}

}  // namespace tovmar
