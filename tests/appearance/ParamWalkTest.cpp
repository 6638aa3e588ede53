// Collecting the parameter attributes while the document is parsed gives what a walk of the
// whole tree gives, for documents that use what the tree builder keeps track of.
#include <string>

#include <gtest/gtest.h>

#include "appearance/ParamWalk.h"

namespace tovmar {
namespace {

std::string WalkOfWholeTree(const std::string& xml) {
  const DocPtr doc = ParseAppearanceDocument(xml);
  std::string path;
  std::string attributes;
  if (doc) Walk(xmlDocGetRootElement(doc.get()), path, attributes);
  return attributes;
}

TEST(ParamWalkTest, CollectingWhileParsingGivesTheWalkOfTheWholeTree) {
  const std::string doctype =
      "<!DOCTYPE linden_genepool [\n"
      "<!ATTLIST param id ID #IMPLIED ref IDREF #IMPLIED kind CDATA 'shape'>\n"
      "<!ENTITY two '<param id=\"e2\" name=\"ent\" value=\"2\"/>'>\n"
      "<!ENTITY arch '<archetype><param id=\"e3\" name=\"x\" value=\"3\"/></archetype>'>\n"
      "<!ENTITY v '0.5'>]>\n";
  const std::string cases[] = {
      "<linden_genepool><archetype><param id='1' name='a' value='1'/></archetype>"
      "<archetype><param id='2' name='b' value='2'/></archetype></linden_genepool>",
      // Text, comments, CDATA and instructions between and inside the archetypes.
      "<linden_genepool>x<archetype>y<param id='1' name='a' value='1'/>z<!-- c -->"
      "<![CDATA[d]]><?pi t?></archetype>w<archetype><param id='2' name='b' value='2'>"
      "<param id='3' name='deep' value='3'/></param></archetype>v</linden_genepool>",
      // Namespaces declared on every level, prefixed names that do and do not match.
      "<linden_genepool xmlns:a='urn:a'><a:archetype><param id='1' name='a' value='1'/>"
      "</a:archetype><archetype xmlns:b='urn:b'><param xmlns='urn:c' b:id='2' name='b'/>"
      "<b:param id='3' name='c' value='3'/></archetype></linden_genepool>",
      // Declared IDs, references to them, defaulted attributes and entities in values and
      // content, at the depth of a parameter and of an archetype.
      doctype +
          "<linden_genepool><archetype><param id='p1' ref='p2' name='a' value='&v;'/>&two;"
          "<param id='p2' ref='p1' name='b' value='1'/></archetype>&arch;"
          "<archetype><param id='p3' ref='p1' name='c' value='&v;&v;'/></archetype>"
          "</linden_genepool>",
      // The same ID twice, and a document that breaks off.
      "<linden_genepool><archetype><param xml:id='d' name='a' value='1'/></archetype>"
      "<archetype><param xml:id='d' name='b' value='2'/></archetype></linden_genepool>",
      "<linden_genepool><archetype><param id='1' name='a' value='1'/></archetype><archetype>",
  };
  for (const std::string& xml : cases) {
    const std::optional<std::string> collected = CollectParamAttributes(xml);
    EXPECT_EQ(collected.value_or("(no tree)"),
              ParseAppearanceDocument(xml) ? WalkOfWholeTree(xml) : "(no tree)")
        << xml;
  }
}

}  // namespace
}  // namespace tovmar
