#include "appearance/ParamWalk.h"

#include <libxml/parser.h>

#include "appearance/XmlAttributeLimits.h"
#include "appearance/XmlParseOptions.h"

namespace tovmar {

namespace {

void InitXmlOnce() {
  static const bool initialised = (xmlInitParser(), true);
  static_cast<void>(initialised);
}

std::string_view Chars(const xmlChar* text) {
  return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text)) : "";
}

void AppendQualifiedName(const xmlNs* ns, const xmlChar* localName, std::string& out) {
  if (ns != nullptr && ns->prefix != nullptr) {
    out += Chars(ns->prefix);
    out += ':';
  }
  out += Chars(localName);
}

// Appends the node's name as a DOM reports it: "#text" and "#cdata-section" for the kinds without
// a name of their own, the qualified name for elements, the target for processing instructions,
// the entity's name for entity references. (Comments never enter the path; documents and
// fragments never stand below an element.)
void AppendDomName(const xmlNode* node, std::string& out) {
  switch (node->type) {
    case XML_TEXT_NODE:
      out += "#text";
      break;
    case XML_CDATA_SECTION_NODE:
      out += "#cdata-section";
      break;
    case XML_ELEMENT_NODE:
      AppendQualifiedName(node->ns, node->name, out);
      break;
    default:
      out += Chars(node->name);
      break;
  }
}

// Appends "name,value," for every attribute of the element as a DOM lists them: namespace
// declarations first, then the others in document order. A reference to a declared entity in a
// value contributes nothing, so no entity is ever expanded.
void AppendAttributes(const xmlNode* element, std::string& out) {
  for (const xmlNs* ns = element->nsDef; ns != nullptr; ns = ns->next) {
    out += "xmlns";
    if (ns->prefix != nullptr) {
      out += ':';
      out += Chars(ns->prefix);
    }
    out += ',';
    out += Chars(ns->href);
    out += ',';
  }
  for (const xmlAttr* attr = element->properties; attr != nullptr; attr = attr->next) {
    AppendQualifiedName(attr->ns, attr->name, out);
    out += ',';
    for (const xmlNode* part = attr->children; part != nullptr; part = part->next) {
      if (part->type == XML_TEXT_NODE) out += Chars(part->content);
    }
    out += ',';
  }
}

}  // namespace

void DocFree::operator()(xmlDoc* doc) const {
  xmlFreeDoc(doc);
}

DocPtr ParseAppearanceDocument(std::string_view xml) {
  InitXmlOnce();
  return DocPtr(ParseWithAttributeLimits(xml, kAppearanceXmlParseOptions));
}

std::string DomName(const xmlNode* node) {
  std::string name;
  AppendDomName(node, name);
  return name;
}

void Walk(const xmlNode* node, std::string& path, std::string& attributes) {
  const bool isComment = node->type == XML_COMMENT_NODE;
  const std::size_t before = path.size();
  if (!isComment) {
    AppendDomName(node, path);
    path += "::";
  }
  if (node->type == XML_ELEMENT_NODE && path == kParamPath) AppendAttributes(node, attributes);
  if (node->type != XML_ENTITY_REF_NODE) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
      Walk(child, path, attributes);
    }
  }
  path.resize(before);
}

bool ParseVisitingRootChildren(std::string_view xml, const RootChildEnd& visit) {
  InitXmlOnce();
  const auto visitAndEmpty = [&](xmlNode* element) {
    visit(element);
    xmlFreeNodeList(element->children);
    element->children = nullptr;
    element->last = nullptr;
  };
  return DocPtr(ParseWithAttributeLimits(xml, kAppearanceXmlParseOptions, visitAndEmpty)) !=
         nullptr;
}

std::optional<std::string> CollectParamAttributes(std::string_view xml) {
  // Parameter elements lie two levels below the root: every one of them is inside an element
  // walked as it ended, and what is left of the tree holds none.
  static_assert(kParamPath == "linden_genepool::archetype::param::");
  std::string attributes;
  std::string path;
  const bool parsed = ParseVisitingRootChildren(xml, [&](const xmlNode* element) {
    path.clear();
    AppendDomName(element->parent, path);
    path += "::";
    Walk(element, path, attributes);
  });
  if (!parsed) return std::nullopt;
  return attributes;
}

}  // namespace tovmar
