// Reading the parameter records of an appearance archetype file: the attributes of every
// element at linden_genepool/archetype/param, in document order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "appearance/AppearanceParam.h"
#include "appearance/LocationFetcher.h"

namespace tovmar {

class AppearanceXmlReader {
 public:
  // Reads `location` (a UTF-8 file path, or an "http://" or "https://" address). Returns the
  // records in file order, or an empty table when the document does not load or holds none.
  // A fetch that breaks off with an error text shows that text through ShowMessage. Without a
  // fetcher, the installed one (CurrentLocationFetcher) reads the location. `progress` follows a
  // network fetch; a fetch it cancels gives an empty table without a message.
  static std::vector<AppearanceParam> ReadParams(const std::string& location);
  static std::vector<AppearanceParam> ReadParams(const std::string& location,
                                                 LocationFetcher& fetcher,
                                                 const FetchProgress& progress = {});

  // The records of a document held in memory; empty when it is not well formed or holds none.
  static std::vector<AppearanceParam> ReadParamsFromMemory(std::string_view xml);
};

}  // namespace tovmar
