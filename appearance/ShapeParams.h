// The morph weights of a mesh as the records of an appearance file, and the ids those records
// carried in the appearance files read before.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "appearance/AppearanceParam.h"

namespace tovmar {

class LlmMesh;

// The id of each parameter name (lower-cased, as names are matched) in the appearance files read.
using AppearanceIds = std::map<std::string, std::int32_t>;

// Adds the ids of `records` (as read, in file order) to `ids`: for each name, the id of the first
// record that names it with a finite value, the record whose value a weight takes. A name read
// again takes its new id.
void RememberAppearanceIds(const std::vector<AppearanceParam>& records, AppearanceIds& ids);

struct ShapeParams {
  // One record for each target, zeros included, in the mesh's order: the target's name, its
  // weight, and the id `ids` holds for the name (otherwise the reader's default). Loading the file
  // then sets every target, whatever weights the mesh had before.
  std::vector<AppearanceParam> params;
  // The names of the targets with a weight that such a file cannot carry back: names the reader
  // cannot read back, weights that are not finite, and a second target of the same name with
  // another weight.
  std::vector<std::string> leftOut;
};

ShapeParams MakeShapeParams(const LlmMesh& mesh, const AppearanceIds& ids);

}  // namespace tovmar
