#include "appearance/XmlAttributeLimits.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <climits>
#include <memory>

namespace tovmar {

namespace {

bool IsXmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// What the parser has been refused during one parse, and whom it tells of the root's children.
// The parses of entities' replacement texts share it with their own parser contexts.
struct DeclarationGuard {
  std::size_t defaulted = 0;
  bool refused = false;
  const xmlParserCtxt* document = nullptr;
  const RootChildEnd* onRootChildEnd = nullptr;
};

void Refuse(xmlParserCtxt* ctxt) {
  static_cast<DeclarationGuard*>(ctxt->_private)->refused = true;
  xmlStopParser(ctxt);
}

// An entity's replacement text is parsed as markup where the entity is referenced: its start tags
// are held to the same limit before the entity is declared.
void GuardedEntityDecl(void* ctx, const xmlChar* name, int type, const xmlChar* publicId,
                       const xmlChar* systemId, xmlChar* content) {
  auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
  if (content != nullptr &&
      !ScanAttributeCounts(reinterpret_cast<const char*>(content)).withinLimit) {
    Refuse(ctxt);
    return;
  }
  xmlSAX2EntityDecl(ctx, name, type, publicId, systemId, content);
}

// The parser adds a defaulted attribute to every element of its name whether the tree keeps it or
// not; the declarations are counted as the parser counts them.
void GuardedAttributeDecl(void* ctx, const xmlChar* elem, const xmlChar* fullName, int type,
                          int def, const xmlChar* defaultValue, xmlEnumeration* tree) {
  auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
  auto* guard = static_cast<DeclarationGuard*>(ctxt->_private);
  const bool defaulted =
      defaultValue != nullptr && def != XML_ATTRIBUTE_IMPLIED && def != XML_ATTRIBUTE_REQUIRED;
  if (defaulted && ++guard->defaulted > kMaxDefaultedAttributes) {
    if (tree != nullptr) xmlFreeEnumeration(tree);
    Refuse(ctxt);
    return;
  }
  xmlSAX2AttributeDecl(ctx, elem, fullName, type, def, defaultValue, tree);
}

// Ends the element as the tree builder does, then hands it on when its parent is the root
// element of the document being parsed.
void EndElementBelowRoot(void* ctx, const xmlChar* localName, const xmlChar* prefix,
                         const xmlChar* uri) {
  auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
  xmlNode* ended = ctxt->node;
  xmlSAX2EndElementNs(ctx, localName, prefix, uri);
  const auto* guard = static_cast<const DeclarationGuard*>(ctxt->_private);
  if (ctxt != guard->document || ended == nullptr || ended->parent == nullptr ||
      ended->parent->parent != reinterpret_cast<xmlNode*>(ctxt->myDoc)) {
    return;
  }
  (*guard->onRootChildEnd)(ended);
}

struct ContextFree {
  void operator()(xmlParserCtxt* ctxt) const {
    if (ctxt->myDoc != nullptr) xmlFreeDoc(ctxt->myDoc);
    xmlFreeParserCtxt(ctxt);
  }
};

}  // namespace

AttributeScan ScanAttributeCounts(std::string_view markup) {
  AttributeScan scan;
  std::size_t inStretch = 0;
  for (std::size_t i = 0; i < markup.size(); ++i) {
    const char c = markup[i];
    if (c == '<') {
      inStretch = 0;
      continue;
    }
    if (c != '=') continue;
    std::size_t next = i + 1;
    while (next < markup.size() && IsXmlSpace(markup[next])) ++next;
    if (next == markup.size() || (markup[next] != '"' && markup[next] != '\'')) continue;
    ++scan.attributesSeen;
    if (++inStretch > kMaxAttributesPerElement) {
      scan.withinLimit = false;
      break;
    }
  }
  return scan;
}

xmlDoc* ParseWithAttributeLimits(std::string_view xml, int options,
                                 const RootChildEnd& onRootChildEnd) {
  if (xml.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
  if (!ScanAttributeCounts(xml).withinLimit) return nullptr;

  const std::unique_ptr<xmlParserCtxt, ContextFree> ctxt(
      xmlCreateMemoryParserCtxt(xml.data(), static_cast<int>(xml.size())));
  if (!ctxt) return nullptr;
  xmlCtxtUseOptions(ctxt.get(), options);
  DeclarationGuard guard;
  ctxt->_private = &guard;
  ctxt->sax->entityDecl = GuardedEntityDecl;
  ctxt->sax->attributeDecl = GuardedAttributeDecl;
  if (onRootChildEnd) {
    guard.document = ctxt.get();
    guard.onRootChildEnd = &onRootChildEnd;
    ctxt->sax->endElementNs = EndElementBelowRoot;
  }

  xmlParseDocument(ctxt.get());
  if (!ctxt->wellFormed || guard.refused) return nullptr;
  xmlDoc* doc = ctxt->myDoc;
  ctxt->myDoc = nullptr;
  return doc;
}

}  // namespace tovmar
