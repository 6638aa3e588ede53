// The walk of an appearance document that collects the attributes of its parameter elements,
// shared by the reader of the whole document and the reader of its archetypes one by one.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "appearance/XmlAttributeLimits.h"

namespace tovmar {

// The path of a parameter element, each element's DOM name followed by "::".
inline constexpr std::string_view kParamPath = "linden_genepool::archetype::param::";

struct DocFree {
  void operator()(xmlDoc* doc) const;
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

// The tree of an appearance document; null when it is not well formed or gives an element far
// more attributes than any appearance file does.
DocPtr ParseAppearanceDocument(std::string_view xml);

// The name of `node` as a DOM reports it: "#text" and "#cdata-section" for the kinds without a
// name of their own, the qualified name for elements, the target for processing instructions, the
// entity's name for entity references.
std::string DomName(const xmlNode* node);

// Visits every node from `node` down; comments leave `path` alone, every other node enters it
// under its DOM name. For every element whose path is then kParamPath, appends "name,value," for
// each of its attributes to `attributes`: namespace declarations first, then the others in
// document order; a reference to an entity in a value contributes nothing. The children of an
// entity reference, the entity's replacement, are not walked; the parser limits the depth.
void Walk(const xmlNode* node, std::string& path, std::string& attributes);

// Parses `xml` as ParseAppearanceDocument does, handing each element directly below the root
// element to `visit` as it ends, complete, and freeing what it holds right after, so the tree
// never holds more than one of them whole. False where ParseAppearanceDocument gives no tree: what
// `visit` saw then counts for nothing.
bool ParseVisitingRootChildren(std::string_view xml, const RootChildEnd& visit);

// What Walk appends from the root element of `xml` down, gathered as ParseVisitingRootChildren
// parses it. Nothing where ParseAppearanceDocument gives no tree.
std::optional<std::string> CollectParamAttributes(std::string_view xml);

}  // namespace tovmar
