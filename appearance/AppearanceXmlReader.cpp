#include "appearance/AppearanceXmlReader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

#include "appearance/ParamTable.h"
#include "appearance/XmlAttributeLimits.h"
#include "appearance/XmlParseOptions.h"
#include "base/MessageSink.h"

namespace tovmar {

namespace {

constexpr std::string_view kTargetPath = "linden_genepool::archetype::param::";

void InitXmlOnce() {
  static const bool initialised = (xmlInitParser(), true);
  static_cast<void>(initialised);
}

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

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

// Visits every node below `node`; comments leave the path alone, every other node enters it
// under its DOM name. The parser limits the depth, so the recursion is bounded. The children of
// an entity reference are the entity's replacement, which is not walked.
void Walk(const xmlNode* node, std::string& path, std::string& attributes) {
  const bool isComment = node->type == XML_COMMENT_NODE;
  const std::size_t before = path.size();
  if (!isComment) {
    AppendDomName(node, path);
    path += "::";
  }
  if (node->type == XML_ELEMENT_NODE && path == kTargetPath) AppendAttributes(node, attributes);
  if (node->type != XML_ENTITY_REF_NODE) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
      Walk(child, path, attributes);
    }
  }
  path.resize(before);
}

using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

// The document's tree; null when it is not well formed or gives an element far more attributes
// than any appearance file does.
DocPtr ParseDocument(std::string_view xml) {
  InitXmlOnce();
  return DocPtr(ParseWithAttributeLimits(xml, kAppearanceXmlParseOptions));
}

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
    doc = ParseDocument(bytes);
  }
  if (!doc) return {};
  return ParamsFromDocument(std::move(doc));
}

std::vector<AppearanceParam> AppearanceXmlReader::ReadParamsFromMemory(std::string_view xml) {
  DocPtr doc = ParseDocument(xml);
  if (!doc) return {};
  return ParamsFromDocument(std::move(doc));
}

}  // namespace tovmar
