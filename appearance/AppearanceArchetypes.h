// The archetypes of an appearance file one by one. A file the world's client writes may hold
// several archetype elements, each a whole shape with a name; reading the file whole gives the
// records of all of them in file order, so that applying it sets what the first archetype sets.
// Choosing another means reading them apart.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appearance/AppearanceParam.h"
#include "appearance/LocationFetcher.h"

namespace tovmar {

struct AppearanceArchetype {
  // The element's name attribute; "archetype N" (counted from 1) when it has none.
  std::string name;
  // Its records, made from its own parameter elements as the reader makes a whole file's.
  std::vector<AppearanceParam> params;
};

// Every archetype element under the document's linden_genepool root, in file order, those
// without records included; empty when the document is not well formed or holds none.
std::vector<AppearanceArchetype> ReadArchetypesFromMemory(std::string_view xml);

// The archetypes of the document at `location` (a UTF-8 path or an "http://" or "https://"
// address), read through `fetcher`; empty when it cannot be read, and `errorText` (when given)
// then receives the fetch's error text, if any.
std::vector<AppearanceArchetype> ReadArchetypes(const std::string& location,
                                                LocationFetcher& fetcher,
                                                const FetchProgress& progress = {},
                                                std::string* errorText = nullptr);

// The first archetype called `name`, compared exactly, else without regard to A-Z letter case.
std::optional<std::size_t> FindArchetype(const std::vector<AppearanceArchetype>& archetypes,
                                         std::string_view name);

}  // namespace tovmar
