// Writing parameter records as an appearance archetype file that AppearanceXmlReader reads back
// to the same records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "appearance/AppearanceParam.h"

namespace tovmar {

// Whether a record named `name` (UTF-8) reads back under the same name: the reader splits its
// collected text at commas and colons and takes "id", "name" and "value" in any case as keywords,
// so names holding those, empty names and names with characters XML cannot carry do not.
bool NameReadsBack(std::string_view name);

// The UTF-8 document linden_genepool/archetype/param with one param element (id, name, value)
// for each record, in order, the archetype named `archetypeName` (UTF-8; characters XML cannot
// carry are left out). Values have the fewest digits that read back as the same float. Every
// record's name must read back (NameReadsBack).
std::string AppearanceXml(const std::vector<AppearanceParam>& params,
                          std::string_view archetypeName);

}  // namespace tovmar
