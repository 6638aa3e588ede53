// The real character files beside the project, and small made-up parts and skeletons.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileBytes.h"
#include "mesh/LlmMesh.h"
#include "tools/LlmWriter.h"

namespace tovmar {

// The UTF-8 path of a real character file, or empty when the folder of real files is absent.
inline std::string RealFile(const char* name) {
  const std::filesystem::path folder(TOVMAR_REALDATA_DIR);
  if (!std::filesystem::is_directory(folder)) return {};
  return PathToUtf8(folder / name);
}

#define TOVMAR_REAL_FILE(variable, name)       \
  const std::string variable = RealFile(name); \
  if (variable.empty()) GTEST_SKIP() << "no real files in " TOVMAR_REALDATA_DIR

inline VertexWeight WeightBytes(float value) {
  VertexWeight bytes{};
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return bytes;
}

// A part with a vertex at each of `coords`, each weighted by `weights`, naming `joints`, one
// triangle over its first three vertices and a target of each of `targetNames` moving vertex 0.
inline LlmMesh MakePart(const std::vector<Vec3>& coords, const std::vector<float>& weights,
                        const std::vector<std::string>& joints,
                        const std::vector<std::string>& targetNames) {
  LlmMesh m;
  const char header[] = "Linden Binary Mesh 1.0";
  std::memcpy(m.header.data(), header, sizeof header);
  m.scale = {1, 1, 1};
  m.numVertices = static_cast<std::uint16_t>(coords.size());
  for (const Vec3& c : coords) {
    m.coords.push_back(c);
    m.normals.push_back({1, 0, 0});
    m.binormals.push_back({0, 1, 0});
    m.texCoords.push_back({0.5f, 0.5f});
  }
  m.hasWeights = weights.empty() ? 0 : 1;
  for (const float w : weights) m.weights.push_back(WeightBytes(w));
  m.numFaces = 1;
  m.faces = {0, 1, 2};
  m.numSkinJoints = static_cast<std::uint16_t>(joints.size());
  for (const std::string& joint : joints) {
    NameSlot slot{};
    std::memcpy(slot.data(), joint.data(), std::min<std::size_t>(joint.size(), 64));
    m.skinJointNames.push_back(slot);
  }
  for (const std::string& name : targetNames) {
    MorphVertex record;
    record.coordDelta = {0.0f, 0.0f, 0.01f};
    MorphRecords records;
    records.push_back(record);
    m.morphTargets.push_back(MakeMorphTarget(name, std::move(records)));
  }
  return m;
}

}  // namespace tovmar
