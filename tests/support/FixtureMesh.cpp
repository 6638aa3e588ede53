#include "tests/support/FixtureMesh.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "tests/support/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {

namespace {

MorphVertex Record(std::int32_t index, Vec3 delta) {
  MorphVertex r;
  r.vertexIndex = index;
  r.coordDelta = delta;
  return r;
}

}  // namespace

LlmMesh MakeFixtureMesh() {
  LlmMesh m;
  std::strcpy(m.header.data(), "Fixture Mesh");
  m.hasWeights = 1;
  m.numVertices = 4;
  m.coords = {{1, 2, 3}, {2, 2, 3}, {1, 3, 3}, {1, 2, 4}};
  m.normals.assign(4, Vec3{0, 0, 1});
  m.binormals.assign(4, Vec3{1, 0, 0});
  m.texCoords = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  m.weights.assign(4, VertexWeight{0, 0, 0x80, 0x3f});
  m.numFaces = 2;
  m.faces = {0, 1, 2, 0, 2, 3};
  m.numSkinJoints = 2;
  m.skinJointNames.resize(2);
  std::strcpy(m.skinJointNames[0].data(), "JointA");
  std::strcpy(m.skinJointNames[1].data(), "JointB");
  m.morphTargets.push_back(
      MakeMorphTarget("Arm_Up", {Record(1, {0.1f, 0, 0}), Record(3, {0, 0, -0.2f})}));
  m.morphTargets.push_back(MakeMorphTarget("arm_UP", {Record(1, {0, 0.3f, 0})}));
  m.morphTargets.push_back(MakeMorphTarget("Other", {Record(0, {4, 4, 4})}));
  m.morphTargets.push_back(MakeMorphTarget("Odd\"Name\\\t", {}));
  m.numRemaps = 1;
  m.remaps = {{3, 0}};
  return m;
}

ObjFile ParseObj(const std::string& text) {
  ObjFile obj;
  for (const std::string& line : SplitLines(text)) {
    std::istringstream in(line);
    std::string keyword;
    in >> keyword;
    if (keyword.empty() || keyword[0] == '#') continue;
    if (keyword == "v" || keyword == "vn") {
      std::array<double, 3> p{};
      for (double& x : p) in >> x;
      (keyword == "v" ? obj.v : obj.vn).push_back(p);
    } else if (keyword == "vt") {
      std::array<double, 2> t{};
      for (double& x : t) in >> x;
      obj.vt.push_back(t);
    } else if (keyword == "f") {
      ObjFace face;
      for (int k = 0; k < 3; ++k) {
        in >> face.corners[k];
        face.positions[k] = std::strtol(face.corners[k].c_str(), nullptr, 10);
      }
      obj.f.push_back(face);
    } else {
      ++obj.otherLines;
    }
  }
  return obj;
}

}  // namespace tovmar::test
