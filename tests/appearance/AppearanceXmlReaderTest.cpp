#include "tests/appearance/AppearanceFixtures.h"

namespace tovmar {
namespace {

using ReaderTest = AppearanceFileTest;

TEST_F(ReaderTest, ReadsOneRecordPerParamInDocumentOrder) {
  EXPECT_EQ(ReadDocument(Archetype("<param id=\"1\" name=\"morph_a\" value=\"0.25\"/>\n")),
            (ParamTable{{1, "morph_a", 0.25f}}));

  // Other elements beside the params, as texture entries, are passed over.
  EXPECT_EQ(
      ReadDocument(Archetype("<param id=\"33\" name=\"Height\" value=\"-1.5\"/>\n"
                             "<texture te=\"0\" value=\"89556747\"/>\n"
                             "<param id=\"34\" name=\"Thickness\" value=\"2\"/>\n"
                             "<param id=\"-7\" name=\"Big_Belly\" value=\"0.125\"/>\n")),
      (ParamTable{{33, "Height", -1.5f}, {34, "Thickness", 2.0f}, {-7, "Big_Belly", 0.125f}}));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ReaderTest, ElementNamesMatchOnlyExactlyAndAtTheirDepth) {
  const char* const misplaced[] = {
      "<linden_genepool><archetype><Param id='1' name='a' value='1'/></archetype>"
      "</linden_genepool>",
      "<linden_genepool><ARCHETYPE><param id='1' name='a' value='1'/></ARCHETYPE>"
      "</linden_genepool>",
      "<Linden_Genepool><archetype><param id='1' name='a' value='1'/></archetype>"
      "</Linden_Genepool>",
      "<linden_genepool><archetype><group><param id='1' name='a' value='1'/></group>"
      "</archetype></linden_genepool>",
      "<linden_genepool><param id='1' name='a' value='1'/></linden_genepool>",
      "<root><linden_genepool><archetype><param id='1' name='a' value='1'/></archetype>"
      "</linden_genepool></root>",
      "<linden_genepool><archetype><x:param xmlns:x='urn:x' id='1' name='a' value='1'/>"
      "</archetype></linden_genepool>",
  };
  for (const char* xml : misplaced) EXPECT_TRUE(ReadDocument(xml).empty()) << xml;
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ReaderTest, AttributeNamesMatchInAnyLetterCase) {
  EXPECT_EQ(ReadDocument(Archetype("<param ID=\"5\" Name=\"Morph_A\" VALUE=\"0.5\"/>\n")),
            (ParamTable{{5, "Morph_A", 0.5f}}));
}

TEST_F(ReaderTest, CommentsAndOtherNodesLeaveTheMatchAlone) {
  // Comments are not part of the path; text, CDATA and instructions enter it under their
  // own names and so never match, even a processing instruction whose target is "param".
  EXPECT_EQ(ReadDocument("<!-- top -->\n<linden_genepool><!-- a --><archetype>\n"
                         "<!-- b --><param id='1' name='a' value='0.5'><!-- c --></param>\n"
                         "<![CDATA[<param id='9' name='z' value='9'/>]]>\n"
                         "<?param id='8' name='y' value='8'?>\n"
                         "</archetype></linden_genepool>\n"),
            (ParamTable{{1, "a", 0.5f}}));
  // The children of a matching element are walked too, but are one level too deep.
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='a' value='0.5'>"
                                   "<param id='2' name='b' value='1'/></param>\n")),
            (ParamTable{{1, "a", 0.5f}}));
}

TEST_F(ReaderTest, FewerThanTwoAttributesOrNoIdGiveNoTable) {
  EXPECT_TRUE(ReadDocument(Archetype("<param id='1'/>\n")).empty());
  EXPECT_TRUE(ReadDocument(Archetype("<param/>\n<param/>\n")).empty());
  EXPECT_TRUE(ReadDocument(Archetype("<param name='a' value='0.5'/>\n")).empty());
  EXPECT_TRUE(ReadDocument(Archetype("")).empty());
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ReaderTest, PairsBeforeAnIdLandInTheRecordOfThePrecedingId) {
  // The first param does not begin with id: its name fills record 0, its id begins record 1,
  // and the pairs of the second param's id fall past the table and are dropped.
  EXPECT_EQ(ReadDocument(Archetype("<param name='a' id='1' value='0.5'/>\n"
                                   "<param value='0.75' name='b' id='2'/>\n")),
            (ParamTable{{16777215, "a", 0.0f}, {1, "b", 0.75f}}));
  // A later param with its name first overwrites the previous record's name.
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='a' value='0.5'/>\n"
                                   "<param name='b' id='2' value='0.75'/>\n")),
            (ParamTable{{1, "b", 0.5f}, {2, "", 0.75f}}));
}

TEST_F(ReaderTest, MissingPairsKeepInitialValuesOrFillThePreviousRecord) {
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='a'/>\n")), (ParamTable{{1, "a", 0.0f}}));
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='a' value='0.5'/>\n"
                                   "<param name='b' value='0.75'/>\n")),
            (ParamTable{{1, "b", 0.75f}}));
}

TEST_F(ReaderTest, CommasColonsAndEmptyValuesShiftTheTokens) {
  // "a,b" and "a:b" each become two tokens; "b" is then passed over as an unknown keyword.
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='a,b' value='0.5'/>\n")),
            (ParamTable{{1, "a", 0.5f}}));
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='a:b' value='0.5'/>\n")),
            (ParamTable{{1, "a", 0.5f}}));
  // An empty name yields no token: the keyword "value" becomes the name and still reads 0.5.
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='' value='0.5'/>\n")),
            (ParamTable{{1, "value", 0.5f}}));
  // An empty last value: the pass ends on the keyword and the value reads as 0.
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='a' value=''/>\n")),
            (ParamTable{{1, "a", 0.0f}}));
}

TEST_F(ReaderTest, TheKeywordIdAsAValueAddsARecordWithInitialValues) {
  EXPECT_EQ(ReadDocument(Archetype("<param id='1' name='id' value='0.5'/>\n")),
            (ParamTable{{1, "id", 0.5f}, {16777215, "", 0.0f}}));
}

TEST_F(ReaderTest, EscapedCharactersReachTheValues) {
  EXPECT_EQ(ReadDocument(Archetype("<param id='&#x31;2' name='a&amp;b &lt;c&gt;' "
                                   "value='0.5'/>\n")),
            (ParamTable{{12, "a&b <c>", 0.5f}}));
}

TEST_F(ReaderTest, ReadsNonAsciiPathsAndNames) {
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<linden_genepool><archetype>"
      "<param id='1' name='\xE8\x83\xB8_\xC3\xA9' value='0.5'/>"
      "</archetype></linden_genepool>";
  EXPECT_EQ(ReadDocument(xml, "\xE3\x82\xA2\xE3\x83\x90\xE3\x82\xBF\xE3\x83\xBC \xC3\xA9.xml"),
            (ParamTable{{1, "\xE8\x83\xB8_\xC3\xA9", 0.5f}}));
}

TEST_F(ReaderTest, UnloadableDocumentsGiveNoTableAndNoMessage) {
  EXPECT_TRUE(AppearanceXmlReader::ReadParams(folder.File("missing.xml")).empty());
  EXPECT_TRUE(AppearanceXmlReader::ReadParams(folder.File("")).empty());
  EXPECT_TRUE(ReadDocument("").empty());
  EXPECT_TRUE(ReadDocument("<linden_genepool><archetype><param id='1' name='a'"
                           " value='1'></archetype></linden_genepool>")
                  .empty());
  EXPECT_TRUE(ReadDocument("\x89PNG\r\n\x1a\n").empty());
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace tovmar
