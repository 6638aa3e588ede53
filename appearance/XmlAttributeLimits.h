// Limits on the attributes an appearance document may give one element. libxml2 checks each
// attribute of an element against every one before it, so its work grows with the square of their
// number: one element with 150,000 attributes (1.7 MB) costs it about 40 seconds. Appearance files
// carry three attributes an element.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <functional>
#include <string_view>

namespace tovmar {

// The most attributes one start tag may carry, namespace declarations included.
inline constexpr std::size_t kMaxAttributesPerElement = 64;

// The most attributes a document type declaration may give a default value. Each one is added to
// every element of its name and checked against that element's others, however small the element
// is in the file.
inline constexpr std::size_t kMaxDefaultedAttributes = 8;

struct AttributeScan {
  bool withinLimit = true;
  // The attribute assignments counted before the scan ended: all of them when within the limit.
  std::size_t attributesSeen = 0;
};

// Counts the attribute assignments ("=", then white space or none, then a quote) between each "<"
// of `markup` (a document, or the replacement text of an entity) and the next, and stops at the
// first stretch that holds more than kMaxAttributesPerElement. An attribute value cannot hold "<",
// so all the attributes the parser takes for one element lie in one stretch; text, comments and
// the like are counted too, which can only count more.
AttributeScan ScanAttributeCounts(std::string_view markup);

// Parses `xml` with libxml2 and `options` into a tree (the caller frees it with xmlFreeDoc), or
// returns null when it is not well formed or breaks the limits above: too many attributes in a
// start tag of the document or of an entity's replacement text, or too many defaulted attributes.
// Documents that break them are refused before the parser reaches the costly element.
//
// `onRootChildEnd`, when given, is called with each element directly below the root element as it
// ends, complete with everything inside it, while the document itself is parsed (never for the
// replacement text of an entity). It may change what lies inside the element, not the element.
using RootChildEnd = std::function<void(xmlNode* element)>;
xmlDoc* ParseWithAttributeLimits(std::string_view xml, int options,
                                 const RootChildEnd& onRootChildEnd = {});

}  // namespace tovmar
