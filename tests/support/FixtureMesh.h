// The small mesh whose every value the tests know, and OBJ text read back into its parts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mesh/LlmMesh.h"

namespace tovmar::test {

// A small mesh whose every value the tests know:
// - header "Fixture Mesh", weights present, no detail texture coordinates;
// - 4 vertices at (1,2,3), (2,2,3), (1,3,3), (1,2,4), all with normal (0,0,1), texture
//   coordinates (0,0), (1,0), (0,1), (1,1);
// - 2 triangles (0,1,2), (0,2,3); 2 skin joints; 1 remap;
// - targets "Arm_Up" (vertex 1 by (0.1,0,0), vertex 3 by (0,0,-0.2)), "arm_UP" (vertex 1 by
//   (0,0.3,0)), "Other" (vertex 0 by (4,4,4)) and "Odd\"Name\\\t" with no records.
LlmMesh MakeFixtureMesh();

struct ObjFace {
  // The three "v/vt/vn" words as written.
  std::array<std::string, 3> corners;
  // The position index of each corner, 1-based as in the file.
  std::array<long, 3> positions{};
};

struct ObjFile {
  std::vector<std::array<double, 3>> v;
  std::vector<std::array<double, 2>> vt;
  std::vector<std::array<double, 3>> vn;
  std::vector<ObjFace> f;
  // Lines other than comments, v, vt, vn and f.
  int otherLines = 0;
};

ObjFile ParseObj(const std::string& text);

}  // namespace tovmar::test
