// The shaped mesh as the text of a Wavefront OBJ file.
#pragma once

#include <string>

namespace tovmar {

class LlmMesh;
class MeshObject;

// The OBJ text of `mesh` deformed by its morph weights, with `object` (the mesh's drawn object,
// built from it) giving the texture coordinates, the normals and the triangles: one v, vt and vn
// line per vertex, positions in the file's own coordinates, and one f line per triangle with
// 1-based indices. Numbers have nine significant digits, so every float reads back as itself.
// Empty when `object` has more vertices than `mesh`.
std::string ObjText(const LlmMesh& mesh, const MeshObject& object);

}  // namespace tovmar
