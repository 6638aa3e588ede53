// Where the panel's picture links lead: the guide and README installed beside the program, the
// source tree's from a build tree, and addresses set in the profile.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/sstream.h>

#include "panel/DocumentFolders.h"
#include "panel/LinkAddresses.h"
#include "tests/mesh/TempFolder.h"

namespace tovmar {
namespace {

namespace fs = std::filesystem;

wxString AddressOf(const fs::path& file) {
  return wxFileName::FileNameToURL(wxFileName(wxString::FromUTF8(file.string())));
}

// An installed tree: bin/ for the program and the documentation folder beside it.
class InstalledTree {
 public:
  InstalledTree() {
    fs::create_directories(Bin());
    fs::create_directories(Docs() / "docs");
    std::ofstream(Docs() / "README.md") << "# Tovmar\n";
    std::ofstream(Docs() / "docs" / "guide.md") << "# Guide\n";
  }
  fs::path Bin() const { return m_folder.Path() / "bin"; }
  fs::path Docs() const { return (Bin() / kDocFolderFromProgram).lexically_normal(); }
  wxString Program() const { return wxString::FromUTF8(Bin().string()); }

 private:
  TempFolder m_folder;
};

TEST(LinkAddressesTest, InstalledGuideIsTheRenderedPageWhereThereIsOne) {
  InstalledTree tree;
  EXPECT_EQ(FindLinkAddresses(tree.Program(), nullptr).guide,
            AddressOf(tree.Docs() / "docs" / "guide.md"));
  std::ofstream(tree.Docs() / "docs" / "guide.html") << "<html></html>\n";
  const LinkAddresses addresses = FindLinkAddresses(tree.Program(), nullptr);
  EXPECT_EQ(addresses.guide, AddressOf(tree.Docs() / "docs" / "guide.html"));
  const wxString homePage = *kConfiguredHomePage != '\0' ? wxString::FromUTF8(kConfiguredHomePage)
                                                         : AddressOf(tree.Docs() / "README.md");
  EXPECT_EQ(addresses.homePage, homePage);
  EXPECT_TRUE(addresses.guide.StartsWith("file:///")) << addresses.guide;
}

TEST(LinkAddressesTest, BuildTreeOpensTheSourceTreesGuide) {
  TempFolder empty;
  const LinkAddresses addresses =
      FindLinkAddresses(wxString::FromUTF8(empty.Path().string()), nullptr);
  const fs::path source(kSourceFolder);
  EXPECT_EQ(addresses.guide, AddressOf(source / "docs" / "guide.md"));
  EXPECT_TRUE(fs::exists(source / "docs" / "guide.md"));
  if (*kConfiguredHomePage == '\0') {
    EXPECT_EQ(addresses.homePage, AddressOf(source / "README.md"));
  }
}

TEST(LinkAddressesTest, ProfileAddressesWinAndBlankOnesAreIgnored) {
  InstalledTree tree;
  wxStringInputStream profileText("[Links]\nHomePage=https://home.invalid/tovmar\nGuide=  \n");
  const wxFileConfig profile(profileText);
  const LinkAddresses addresses = FindLinkAddresses(tree.Program(), &profile);
  EXPECT_EQ(addresses.homePage, "https://home.invalid/tovmar");
  EXPECT_EQ(addresses.guide, AddressOf(tree.Docs() / "docs" / "guide.md"));
}

}  // namespace
}  // namespace tovmar
