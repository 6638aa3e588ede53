// Binding a texture object's picture for drawing: put into the context once and drawn from the
// context's copy until the picture changes, or, without a record of what the context holds, put
// in for one draw.
#pragma once

#include "render/GL.h"

namespace tovmar {

class ContextTextures;
class SceneStore;
class TextureObject;

// Binds the context's texture of `texture`'s pixels to GL_TEXTURE_2D, first putting the pixels
// into a new one when `kept` (the current context's record, or null) has none of this
// generation. Returns the texture's name, 0 when none could be made. The caller deletes the
// name after drawing when `kept` is null.
GLuint BindTexture(const TextureObject& texture, ContextTextures* kept);

// Deletes the context's textures of pictures that no texture object of `store` holds any more.
// The context of `kept` must be current. A record that several contexts share loses what this
// store no longer holds: contexts that draw from one record at once draw stores of the same
// pictures.
void DeleteUnusedTextures(ContextTextures& kept, const SceneStore& store);

}  // namespace tovmar
