// The scene-store side of the texture commands of the control panel, without dialogs or
// windows: loading a chosen image onto the visible mesh, and reloading it from its file.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "mesh/SceneStore.h"
#include "mesh/TextureObject.h"

namespace tovmar {

// Loads the image file `path` into a new texture object. On success the object becomes the
// texture of mesh object 0 and the previous texture leaves the store unless another mesh object
// still uses it; on failure the new object is removed and the mesh keeps its texture. Returns
// the texture object now on the mesh, or nullptr when the load failed or there is no mesh
// object 0 (nothing is created then).
TextureObject* LoadMeshTexture(SceneStore& store, const std::string& path);

// The same for the mesh objects at the store indices `meshes`, which all take the one new texture
// object (two copies of a part wear one texture). Nothing is created when `meshes` is empty or
// names an index without a mesh object.
TextureObject* LoadMeshTexture(SceneStore& store, const std::string& path,
                               std::span<const std::size_t> meshes);

// Loads mesh object 0's texture again from its source path. Returns that texture object, which
// holds no pixels after a failed load, or nullptr when there is no mesh object 0, no texture or
// no source path (nothing happens then).
// `mesh` is the store index of the object whose texture is meant (0 unless given).
TextureObject* RefreshMeshTexture(SceneStore& store, std::size_t mesh = 0);

// Reads the image file `path` again as mesh object 0's texture, for a file that changed on disk
// without the user asking. The picture is decoded aside first, so that a file still being
// written, or gone, leaves the texture as it was (the failure's messages still go to the
// installed sink). On success the texture object keeps its id and takes the new pixels, size and
// `path` as its source path; that object is returned. nullptr: no mesh object 0, no texture, or
// the read failed.
// `mesh` is the store index of the object whose texture is meant (0 unless given).
TextureObject* ReloadMeshTextureKeepingPicture(SceneStore& store, const std::string& path,
                                               std::size_t mesh = 0);

}  // namespace tovmar
