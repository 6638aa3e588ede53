// Archetype documents for the appearance tests, and records that compare and print as a whole.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "appearance/AppearanceParam.h"
#include "appearance/AppearanceXmlReader.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempFolder.h"

namespace tovmar {

inline bool operator==(const AppearanceParam& a, const AppearanceParam& b) {
  return a.id == b.id && a.name == b.name && a.value == b.value;
}

inline void PrintTo(const AppearanceParam& p, std::ostream* os) {
  *os << "{" << p.id << ", \"" << p.name << "\", " << p.value << "}";
}

using ParamTable = std::vector<AppearanceParam>;

// A document as the world's client writes it, with `params` inside its archetype element.
inline std::string Archetype(std::string_view params) {
  return "<?xml version=\"1.0\" encoding=\"US-ASCII\" standalone=\"yes\"?>\n"
         "<linden_genepool version=\"1.0\">\n<archetype name=\"???\">\n" +
         std::string(params) + "</archetype>\n</linden_genepool>\n";
}

// Reads documents from files of a folder of its own and records every message shown.
class AppearanceFileTest : public ::testing::Test {
 protected:
  ParamTable ReadDocument(const std::string& xml, const std::string& fileName = "a.xml") {
    return AppearanceXmlReader::ReadParams(folder.Write(fileName, xml));
  }

  TempFolder folder;
  RecordingMessageSink messages;
};

}  // namespace tovmar
