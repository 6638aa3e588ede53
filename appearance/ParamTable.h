// Turning the collected attribute text of an appearance file into its parameter records.
#pragma once

#include <string_view>
#include <vector>

#include "appearance/AppearanceParam.h"

namespace tovmar {

// `attributeText` holds "name,value," for every collected attribute, in walk order; commas and
// colons both separate its tokens. Returns one record for every "id" keyword, filled from the
// keyword/value pairs; empty when the text holds fewer than two attributes or no "id" keyword.
std::vector<AppearanceParam> BuildParamTable(std::string_view attributeText);

}  // namespace tovmar
