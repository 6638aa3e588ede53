// The shaped mesh as the text of a Wavefront OBJ file.
#pragma once

#include <string>

namespace tovmar {

class LlmMesh;
class MeshObject;

struct ObjOptions {
  // Turned to the Y-up axes of glTF (+Y up, +Z the front, as ToGltfAxes turns them) instead of
  // the file's own Z-up ones.
  bool yUp = false;
  // The material file named by an mtllib line and the material named by a usemtl line before the
  // faces; empty: neither line.
  std::string materialLibrary;
  std::string material;
};

// The OBJ text of `mesh` deformed by its morph weights, with `object` (the mesh's drawn object,
// built from it) giving the texture coordinates, the normals and the triangles: one v, vt and vn
// line per vertex, positions in the file's own coordinates or turned Y up, normals of unit length
// (a zero normal stays zero), and one f line per triangle with 1-based indices. Numbers have nine
// significant digits, so every float reads back as itself. Empty when `object` has more vertices
// than `mesh`.
std::string ObjText(const LlmMesh& mesh, const MeshObject& object, const ObjOptions& options = {});

}  // namespace tovmar
