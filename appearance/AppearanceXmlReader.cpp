#include "appearance/AppearanceXmlReader.h"

#include <optional>
#include <string>

#include "appearance/ParamTable.h"
#include "appearance/ParamWalk.h"
#include "base/MessageSink.h"

namespace tovmar {

namespace {

std::vector<AppearanceParam> ParamsFromXml(std::string_view xml) {
  const std::optional<std::string> attributes = CollectParamAttributes(xml);
  if (!attributes || attributes->empty()) return {};
  return BuildParamTable(*attributes);
}

}  // namespace

std::vector<AppearanceParam> AppearanceXmlReader::ReadParams(const std::string& location) {
  return ReadParams(location, CurrentLocationFetcher());
}

std::vector<AppearanceParam> AppearanceXmlReader::ReadParams(const std::string& location,
                                                             LocationFetcher& fetcher,
                                                             const FetchProgress& progress) {
  FetchResult fetched = fetcher.Fetch(location, progress);
  if (fetched.status == FetchStatus::kFailed) ShowMessage(fetched.errorText);
  if (fetched.status != FetchStatus::kLoaded) return {};

  // A document that is not well formed gives nothing, silently.
  return ParamsFromXml(fetched.bytes);
}

std::vector<AppearanceParam> AppearanceXmlReader::ReadParamsFromMemory(std::string_view xml) {
  return ParamsFromXml(xml);
}

}  // namespace tovmar
