// Where the panel's picture links lead: the guide and README installed beside the program, the
// source tree's from a build tree, and addresses set in the profile.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/sstream.h>

#include "panel/DocumentFolders.h"
#include "panel/LinkAddresses.h"
#include "tests/support/TempFolder.h"

namespace tovmar {
namespace {

namespace fs = std::filesystem;

wxString AddressOf(const fs::path& file) {
  return wxFileName::FileNameToURL(wxFileName(wxString::FromUTF8(file.string())));
}

// An installed tree in `folder`: bin/ for the program, the README and the guide beside it; the
// documentation folder is returned.
fs::path Install(const TempFolder& folder) {
  const fs::path docs = (folder.Path() / "bin" / kDocFolderFromProgram).lexically_normal();
  fs::create_directories(folder.Path() / "bin");
  fs::create_directories(docs / "docs");
  std::ofstream(docs / "README.md") << "# Tovmar\n";
  std::ofstream(docs / "docs" / "guide.md") << "# Guide\n";
  return docs;
}

wxString Bin(const TempFolder& folder) {
  return wxString::FromUTF8((folder.Path() / "bin").string());
}

TEST(LinkAddressesTest, InstalledGuideIsTheRenderedPageWhereThereIsOne) {
  TempFolder folder;
  const fs::path docs = Install(folder);
  EXPECT_EQ(FindLinkAddresses(Bin(folder), nullptr).guide, AddressOf(docs / "docs" / "guide.md"));
  std::ofstream(docs / "docs" / "guide.html") << "<html></html>\n";
  const LinkAddresses addresses = FindLinkAddresses(Bin(folder), nullptr);
  EXPECT_EQ(addresses.guide, AddressOf(docs / "docs" / "guide.html"));
  EXPECT_TRUE(addresses.guide.StartsWith("file:///")) << addresses.guide;
  EXPECT_EQ(addresses.homePage, *kConfiguredHomePage != '\0'
                                    ? wxString::FromUTF8(kConfiguredHomePage)
                                    : AddressOf(docs / "README.md"));
}

TEST(LinkAddressesTest, BuildTreeOpensTheSourceTreesGuide) {
  TempFolder empty;
  const LinkAddresses addresses =
      FindLinkAddresses(wxString::FromUTF8(empty.Path().string()), nullptr);
  const fs::path source(kSourceFolder);
  EXPECT_TRUE(fs::exists(source / "docs" / "guide.md"));
  EXPECT_EQ(addresses.guide, AddressOf(source / "docs" / "guide.md"));
}

TEST(LinkAddressesTest, ProfileAddressesWinAndBlankOnesAreIgnored) {
  TempFolder folder;
  const fs::path docs = Install(folder);
  wxStringInputStream text("[Links]\nHomePage=https://home.invalid/tovmar\nGuide=  \n");
  const wxFileConfig profile(text);
  const LinkAddresses addresses = FindLinkAddresses(Bin(folder), &profile);
  EXPECT_EQ(addresses.homePage, "https://home.invalid/tovmar");
  EXPECT_EQ(addresses.guide, AddressOf(docs / "docs" / "guide.md"));
}

}  // namespace
}  // namespace tovmar
