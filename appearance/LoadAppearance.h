// Loading an appearance file onto the mesh: its records set the morph weights they name, and
// the visible mesh object is rebuilt from the new weights.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "appearance/AppearanceParam.h"
#include "appearance/LocationFetcher.h"

namespace tovmar {

class LlmMesh;
class SceneStore;

// How a load went, for a caller that tells the user in its own words.
struct AppearanceLoadOutcome {
  FetchResult fetched;    // the fetch's status and failure (its bytes are not kept)
  int targetsSet = 0;     // morph targets the records set
  bool declined = false;  // the chooser chose none of the document's archetypes
};

// Picks one of a document's archetypes by their names (in file order), or none.
using ArchetypeChooser =
    std::function<std::optional<std::size_t>(const std::vector<std::string>& names)>;

// Reads `location` (a file path or an "http://" or "https://" address); when it yields records,
// applies them to `mesh` and rebuilds mesh object 0 of `store` (texture coordinates too with
// `applyTexCoords`). Returns whether records came back; without them nothing changes. The
// installed fetcher reads the location; `progress` follows it over the network and may cancel.
// With `records`, it receives the records as read (names lower-cased). With `outcome`, it receives
// how the fetch went and how many targets were set; without it, a fetch that broke off shows its
// error text through ShowMessage. A document of several archetypes applies all its records, as
// the whole file reads, unless `chooseArchetype` is given: it then applies the records of the
// archetype chosen, and nothing when none is.
bool LoadAppearance(const std::string& location, LlmMesh& mesh, SceneStore& store,
                    bool applyTexCoords, const FetchProgress& progress = {},
                    std::vector<AppearanceParam>* records = nullptr,
                    AppearanceLoadOutcome* outcome = nullptr,
                    const ArchetypeChooser& chooseArchetype = {});

}  // namespace tovmar
