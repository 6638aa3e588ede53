#include "appearance/AppearanceArchetypes.h"

#include <libxml/tree.h>

#include <utility>

#include "appearance/ParamTable.h"
#include "appearance/ParamWalk.h"
#include "base/Text.h"

namespace tovmar {

namespace {

// The value of the element's attribute called "name" in any letter case, as the reader matches
// attribute names; empty without one.
std::string NameAttribute(const xmlNode* element) {
  for (const xmlAttr* attr = element->properties; attr != nullptr; attr = attr->next) {
    if (attr->ns != nullptr || attr->name == nullptr) continue;
    if (LowerAscii(reinterpret_cast<const char*>(attr->name)) != "name") continue;
    std::string value;
    for (const xmlNode* part = attr->children; part != nullptr; part = part->next) {
      if (part->type == XML_TEXT_NODE && part->content != nullptr) {
        value += reinterpret_cast<const char*>(part->content);
      }
    }
    return value;
  }
  return {};
}

}  // namespace

std::vector<AppearanceArchetype> ReadArchetypesFromMemory(std::string_view xml) {
  // Each archetype is read as it ends, walked as the whole document is, from the root's path on.
  std::vector<AppearanceArchetype> archetypes;
  const bool parsed = ParseVisitingRootChildren(xml, [&](const xmlNode* child) {
    if (DomName(child->parent) != "linden_genepool" || child->type != XML_ELEMENT_NODE ||
        DomName(child) != "archetype") {
      return;
    }
    std::string path = "linden_genepool::";
    std::string attributes;
    Walk(child, path, attributes);
    AppearanceArchetype& archetype = archetypes.emplace_back();
    archetype.name = NameAttribute(child);
    if (archetype.name.empty()) archetype.name = "archetype " + std::to_string(archetypes.size());
    if (!attributes.empty()) archetype.params = BuildParamTable(attributes);
  });
  if (!parsed) return {};
  return archetypes;
}

std::vector<AppearanceArchetype> ReadArchetypes(const std::string& location,
                                                LocationFetcher& fetcher,
                                                const FetchProgress& progress,
                                                std::string* errorText) {
  FetchResult fetched = fetcher.Fetch(location, progress);
  if (errorText != nullptr) *errorText = fetched.errorText;
  if (fetched.status != FetchStatus::kLoaded) return {};
  const std::string bytes = std::move(fetched.bytes);
  return ReadArchetypesFromMemory(bytes);
}

std::optional<std::size_t> FindArchetype(const std::vector<AppearanceArchetype>& archetypes,
                                         std::string_view name) {
  for (std::size_t i = 0; i < archetypes.size(); ++i) {
    if (archetypes[i].name == name) return i;
  }
  const std::string wanted = LowerAscii(name);
  for (std::size_t i = 0; i < archetypes.size(); ++i) {
    if (LowerAscii(archetypes[i].name) == wanted) return i;
  }
  return std::nullopt;
}

}  // namespace tovmar
