#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#include "appearance/XmlAttributeLimits.h"
#include "tests/appearance/AppearanceFixtures.h"

namespace tovmar {
namespace {

using HostileInputTest = AppearanceFileTest;

TEST_F(HostileInputTest, ExternalEntitiesAreNeverRead) {
  const std::string secret =
      folder.Write("secret.xml", "<param id='7' name='secret' value='1'/>\n");
  const std::string doctype =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE linden_genepool [\n"
      "<!ENTITY xxe SYSTEM \"file://" +
      secret +
      "\">\n<!ENTITY pw SYSTEM \"file:///etc/passwd\">\n"
      "<!ENTITY remote SYSTEM \"http://127.0.0.1:9/x.xml\">\n]>\n";
  const ParamTable table =
      ReadDocument(doctype +
                   "<linden_genepool><archetype>&xxe;&pw;&remote;"
                   "<param id='1' name='a' value='0.5'/></archetype></linden_genepool>");
  EXPECT_EQ(table, (ParamTable{{1, "a", 0.5f}}));
  EXPECT_TRUE(messages.messages.empty());
}

// Entities lolN expand to 10^N times "lol".
std::string LaughsDoctype(int levels) {
  std::string doctype =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE linden_genepool [\n"
      "<!ENTITY lol0 \"lol\">\n";
  for (int level = 1; level <= levels; ++level) {
    doctype += "<!ENTITY lol" + std::to_string(level) + " \"";
    for (int k = 0; k < 10; ++k) doctype += "&lol" + std::to_string(level - 1) + ";";
    doctype += "\">\n";
  }
  return doctype + "]>\n";
}

TEST_F(HostileInputTest, EntitiesExpandNothingAndBombsFinish) {
  // References the parser accepts stay unexpanded, also one to an entity named like the element
  // whose replacement would stand at the matching path.
  EXPECT_EQ(ReadDocument(LaughsDoctype(1) +
                         "<linden_genepool><archetype>&lol1;<param id='1' name='a' value='1'/>"
                         "</archetype></linden_genepool>"),
            (ParamTable{{1, "a", 1.0f}}));
  EXPECT_EQ(ReadDocument("<!DOCTYPE linden_genepool [\n"
                         "<!ENTITY archetype \"<param id='9' name='e' value='1'/>\">]>\n"
                         "<linden_genepool>&archetype;<archetype>"
                         "<param id='1' name='a' value='1'/></archetype></linden_genepool>"),
            (ParamTable{{1, "a", 1.0f}}));
  // A billion laughs in content and in an attribute value: the parser may refuse the document,
  // but nothing is ever expanded into a name.
  for (const int levels : {1, 9}) {
    const std::string ref = "&lol" + std::to_string(levels) + ";";
    const std::string inContent =
        "<linden_genepool><archetype>" + ref +
        "<param id='1' name='a' value='1'/></archetype></linden_genepool>";
    const std::string inAttribute = "<linden_genepool><archetype><param id='1' name='" + ref +
                                    "' value='1'/></archetype></linden_genepool>";
    for (const std::string& body : {inContent, inAttribute}) {
      for (const AppearanceParam& p : ReadDocument(LaughsDoctype(levels) + body)) {
        EXPECT_EQ(p.name.find("lol"), std::string::npos) << p.name;
      }
    }
  }
}

TEST_F(HostileInputTest, EveryTruncationOfADocumentGivesNoTable) {
  const std::string xml = Archetype(
      "<param id='1' name='a' value='0.5'/>\n"
      "<!-- note --><param id='2' name='b' value='0.75'/>\n");
  ASSERT_EQ(AppearanceXmlReader::ReadParamsFromMemory(xml).size(), 2u);
  // The last element's end tag is cut in every shorter prefix.
  const std::size_t complete = xml.rfind('>') + 1;
  for (std::size_t n = 0; n < complete; ++n) {
    EXPECT_TRUE(AppearanceXmlReader::ReadParamsFromMemory(xml.substr(0, n)).empty()) << n;
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(HostileInputTest, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  std::string xml = "<linden_genepool><archetype>";
  for (int i = 0; i < 100000; ++i) xml += "<d>";
  EXPECT_TRUE(AppearanceXmlReader::ReadParamsFromMemory(xml).empty());
}

TEST_F(HostileInputTest, ManyRecordsBelowTheSizeCapAreAllRead) {
  std::string params;
  for (int i = 0; i < 20000; ++i) {
    params += "<param id=\"" + std::to_string(i) + "\" name=\"m" + std::to_string(i) +
              "\" value=\"0.5\"/>\n";
  }
  const ParamTable table = ReadDocument(Archetype(params));
  ASSERT_EQ(table.size(), 20000u);
  EXPECT_EQ(table.back(), (AppearanceParam{19999, "m19999", 0.5f}));
}

TEST_F(HostileInputTest, FilesAboveTheSizeCapAreRefusedWithAMessage) {
  const std::string path =
      folder.Write("huge.xml", Archetype("<param id='1' name='a' value='1'/>"));
  std::filesystem::resize_file(PathFromUtf8(path), 16u * 1024u * 1024u + 1u);
  EXPECT_TRUE(AppearanceXmlReader::ReadParams(path).empty());
  EXPECT_EQ(messages.messages, (std::vector<std::string>{kTooLargeText}));
}

// `count` attributes x0, x1, ... with the value "v", written "=" or " = ".
std::string ExtraAttributes(std::size_t count, const char* equals = "=") {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += " x" + std::to_string(i) + equals + "'v'";
  return text;
}

// libxml2's work grows with the square of an element's attributes: documents that give one
// element more than any appearance file does are refused, whether the attributes stand in the
// document, in an entity's replacement text or come as defaults from the document type.
TEST_F(HostileInputTest, ElementsWithFarTooManyAttributesAreRefused) {
  const std::size_t limit = kMaxAttributesPerElement;
  const std::string param = "<param id='1' name='a' value='0.5'/>";
  const auto genepool = [](const std::string& inside) {
    return "<linden_genepool><archetype>" + inside + "</archetype></linden_genepool>";
  };
  const auto withEntity = [&](std::size_t count) {
    return "<!DOCTYPE linden_genepool [<!ENTITY e \"<texture" + ExtraAttributes(count) +
           "/>\">]>\n" + genepool("&e;" + param);
  };
  const auto withDefaults = [&](std::size_t count) {
    std::string doctype = "<!DOCTYPE linden_genepool [<!ATTLIST texture";
    for (std::size_t i = 0; i < count; ++i) doctype += " d" + std::to_string(i) + " CDATA 'v'";
    return doctype + " n CDATA #IMPLIED>]>\n" + genepool("<texture/>" + param);
  };
  struct Case {
    const char* what;
    std::string xml;
    bool read;
  };
  const Case cases[] = {
      {"a param at the limit",
       genepool("<param id='1' name='a' value='0.5'" + ExtraAttributes(limit - 3) + "/>"), true},
      {"an element past it", genepool("<texture" + ExtraAttributes(limit + 1) + "/>" + param),
       false},
      {"written with spaces",
       genepool("<texture" + ExtraAttributes(limit + 1, " = ") + "/>" + param), false},
      {"a comment full of =", genepool("<!--" + std::string(500, '=') + "-->" + param), true},
      {"an entity at the limit", withEntity(limit), true},
      {"an entity past it", withEntity(limit + 1), false},
      {"defaults at the limit", withDefaults(kMaxDefaultedAttributes), true},
      {"defaults past it", withDefaults(kMaxDefaultedAttributes + 1), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ParamTable table = ReadDocument(c.xml);
    EXPECT_EQ(table, c.read ? (ParamTable{{1, "a", 0.5f}}) : ParamTable{});
  }

  // One element with 150,000 attributes: the count stops just past the limit, and the parser
  // never sees the document.
  const std::string huge = genepool("<param" + ExtraAttributes(150000) + "/>");
  const AttributeScan scan = ScanAttributeCounts(huge);
  EXPECT_FALSE(scan.withinLimit);
  EXPECT_EQ(scan.attributesSeen, limit + 1);
  EXPECT_TRUE(AppearanceXmlReader::ReadParamsFromMemory(huge).empty());
  EXPECT_TRUE(messages.messages.empty());
}

// A pipe whose writer keeps it open and says nothing, and a device without end: both are refused
// at once, silently, as a file that does not load.
TEST_F(HostileInputTest, PipesAndDevicesAreRefusedWithoutWaiting) {
  const std::string pipePath = folder.File("silent.xml");
  ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
  const int writer = open(pipePath.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  const std::string document = Archetype("<param id='1' name='a' value='0.5'/>");
  ASSERT_EQ(write(writer, document.data(), document.size()), static_cast<ssize_t>(document.size()));

  auto reading = std::async(std::launch::async,
                            [&pipePath] { return AppearanceXmlReader::ReadParams(pipePath); });
  // A read that waits for the writer is let go by closing it, so that the test ends either way.
  const bool finished = reading.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  close(writer);
  EXPECT_TRUE(finished);
  EXPECT_TRUE(reading.get().empty());

  EXPECT_TRUE(AppearanceXmlReader::ReadParams("/dev/zero").empty());
  EXPECT_TRUE(AppearanceXmlReader::ReadParams(folder.Path().string()).empty());
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace tovmar
