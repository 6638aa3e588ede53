#include "appearance/AppearanceXmlReader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

#include "appearance/ParamTable.h"
#include "appearance/ParamWalk.h"
#include "base/MessageSink.h"

namespace tovmar {

namespace {

// Collects the attributes at the target path, then makes the records from them. The tree is
// freed last, after every large block of the read.
std::vector<AppearanceParam> ParamsFromDocument(DocPtr doc) {
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  if (root == nullptr) return {};
  std::string path;
  std::string attributes;
  Walk(root, path, attributes);
  if (attributes.empty()) return {};
  return BuildParamTable(attributes);
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

  // A document that is not well formed gives nothing, silently. The bytes go before the tree:
  // a large block freed after the tree's many small ones makes the allocator hand its heap back
  // to the system, and the next read then has to fault every page in again.
  DocPtr doc;
  {
    const std::string bytes = std::move(fetched.bytes);
    doc = ParseAppearanceDocument(bytes);
  }
  if (!doc) return {};
  return ParamsFromDocument(std::move(doc));
}

std::vector<AppearanceParam> AppearanceXmlReader::ReadParamsFromMemory(std::string_view xml) {
  DocPtr doc = ParseAppearanceDocument(xml);
  if (!doc) return {};
  return ParamsFromDocument(std::move(doc));
}

}  // namespace tovmar
