// Loading an appearance file onto the mesh: its records set the morph weights they name, and
// the visible mesh object is rebuilt from the new weights.
#pragma once

#include <string>
#include <vector>

#include "appearance/AppearanceParam.h"
#include "appearance/LocationFetcher.h"

namespace tovmar {

class LlmMesh;
class SceneStore;

// Reads `location` (a file path or an "http://" or "https://" address); when it yields records,
// applies them to `mesh` and rebuilds mesh object 0 of `store` (texture coordinates too with
// `applyTexCoords`). Returns whether records came back; without them nothing changes. The
// installed fetcher reads the location; `progress` follows it over the network and may cancel.
// With `records`, it receives the records as read (names lower-cased).
bool LoadAppearance(const std::string& location, LlmMesh& mesh, SceneStore& store,
                    bool applyTexCoords, const FetchProgress& progress = {},
                    std::vector<AppearanceParam>* records = nullptr);

// Applies `records` (read from an appearance file; their names are lower-cased in place) to
// `mesh` and rebuilds mesh object 0 of `store` as LoadAppearance does. Returns how many morph
// targets the records set.
int ApplyAppearanceRecords(std::vector<AppearanceParam>& records, LlmMesh& mesh, SceneStore& store,
                           bool applyTexCoords);

}  // namespace tovmar
