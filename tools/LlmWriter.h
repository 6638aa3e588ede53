// Writes an LlmMesh record as ".llm" file bytes, for test fixtures, sample data and fuzz seeds.
#pragma once

#include <string>

#include "mesh/LlmMesh.h"

namespace tovmar {

// The file image of `mesh`: every count is taken from its count field, every array from its
// vector (missing elements are written as zeros), the morph section ends with an end block.
std::string WriteLlm(const LlmMesh& mesh);

// Writes `bytes` to `path` (UTF-8); returns false when the file cannot be written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// A morph target named `name` with the given records, weight 0.
MorphTarget MakeMorphTarget(const std::string& name, MorphRecords records);

}  // namespace tovmar
