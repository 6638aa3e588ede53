// What the 3D view's context menu saves: the picture on screen, the shaped mesh as OBJ and the
// morph weights as an appearance file. Each file is written whole or not at all; what cannot be
// written is told in a message and leaves nothing behind.
#pragma once

#include <string>

#include "appearance/ShapeParams.h"

namespace tovmar {

class GLView;
class LlmMesh;
class MeshObject;

// The frame `view` shows, at the view's size, as a PNG file at `path` (UTF-8).
bool SaveViewPicture(GLView& view, const std::string& path);

// The shaped mesh object `object` (none: nothing to write), built from `mesh`, as the OBJ file
// `tovmar-cli export-obj` writes for the same mesh and weights; with `texturePath` (UTF-8, empty:
// none), also the material file naming that image beside it, as `export-obj --texture` writes it.
bool ExportShapedObj(const LlmMesh& mesh, const MeshObject* object, const std::string& path,
                     const std::string& texturePath);

// Every morph weight of `mesh`, zeros included, as an appearance file whose archetype is named
// `archetypeName`, with the ids of `ids`. Targets whose weight such a file cannot carry are left
// out and named in a message.
bool SaveShapeFile(const LlmMesh& mesh, const AppearanceIds& ids, const std::string& path,
                   const std::string& archetypeName);

}  // namespace tovmar
