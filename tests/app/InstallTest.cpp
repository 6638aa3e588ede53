// `cmake --install` of this build into a fresh folder: the two programs, the desktop entry, the
// AppStream metainfo, the document type, the icon as a drawing and as pictures of every size,
// the manual page of tovmar-cli, each where the desktop and `man` look for it, and the README
// and the user's guide that the window's picture links open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/RunProcess.h"

namespace tovmar {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;

const int kIconSizes[] = {16, 32, 48, 64, 128, 256};

std::string IconPicture(int size) {
  const std::string side = std::to_string(size);
  return "share/icons/hicolor/" + side + "x" + side + "/apps/tovmar.png";
}

// Every file the install puts down, relative to the prefix.
std::set<std::string> ExpectedFiles() {
  std::set<std::string> files = {
      "bin/tovmar",
      "bin/tovmar-cli",
      "share/applications/org.example.Tovmar.desktop",
      "share/metainfo/org.example.Tovmar.metainfo.xml",
      "share/mime/packages/tovmar-document.xml",
      "share/icons/hicolor/scalable/apps/tovmar.svg",
      "share/man/man1/tovmar-cli.1",
  };
  for (int size : kIconSizes) files.insert(IconPicture(size));
  const std::string docs = TOVMAR_DOC_DIR;
  for (const char* file : {"/README.md", "/docs/guide.md", "/docs/cli.md"})
    files.insert(docs + file);
  if (TOVMAR_GUIDE_HTML) files.insert(docs + "/docs/guide.html");
  for (const auto& entry : fs::directory_iterator(fs::path(TOVMAR_SOURCE_DIR) / "docs/images")) {
    if (entry.path().extension() == ".png") {
      files.insert(docs + "/docs/images/" + entry.path().filename().string());
    }
  }
  return files;
}

std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), root).generic_string());
  }
  return files;
}

// The width and height in a PNG file's header chunk, or {0, 0} when it is no PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& path) {
  const std::string bytes = test::ReadFileText(path);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
      bytes.compare(12, 4, "IHDR") != 0) {
    return {0, 0};
  }
  const auto bigEndian = [&bytes](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
  };
  return {bigEndian(16), bigEndian(20)};
}

class InstallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_prefix = new TempFolder();
    s_install = new ProcessResult(test::RunProcess(
        TOVMAR_CMAKE_COMMAND, {"--install", TOVMAR_BUILD_DIR, "--prefix", Prefix().string()}));
  }
  static void TearDownTestSuite() {
    delete s_install;
    delete s_prefix;
  }

  static const fs::path& Prefix() { return s_prefix->Path(); }
  static std::string Installed(const std::string& file) { return (Prefix() / file).string(); }

  static TempFolder* s_prefix;
  static ProcessResult* s_install;
};

TempFolder* InstallTest::s_prefix = nullptr;
ProcessResult* InstallTest::s_install = nullptr;

TEST_F(InstallTest, PutsDownExactlyTheProgramsAndTheirDesktopFiles) {
  ASSERT_EQ(s_install->exitStatus, 0) << s_install->out << s_install->err;
  EXPECT_EQ(FilesUnder(Prefix()), ExpectedFiles());
}

TEST_F(InstallTest, InstalledFilesAreTheSourceFiles) {
  const std::string source = TOVMAR_SOURCE_DIR;
  const std::pair<const char*, std::string> copies[] = {
      {"share/applications/org.example.Tovmar.desktop",
       source + "/resources/org.example.Tovmar.desktop"},
      {"share/metainfo/org.example.Tovmar.metainfo.xml",
       source + "/resources/org.example.Tovmar.metainfo.xml"},
      {"share/mime/packages/tovmar-document.xml", source + "/resources/tovmar-document.xml"},
      {"share/icons/hicolor/scalable/apps/tovmar.svg", source + "/resources/icons/tovmar.svg"},
      {"share/man/man1/tovmar-cli.1", source + "/docs/tovmar-cli.1"},
      {TOVMAR_DOC_DIR "/README.md", source + "/README.md"},
      {TOVMAR_DOC_DIR "/docs/guide.md", source + "/docs/guide.md"},
  };
  for (const auto& [installed, original] : copies) {
    SCOPED_TRACE(installed);
    const std::string text = test::ReadFileText(Installed(installed));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text, test::ReadFileText(original));
  }
}

TEST_F(InstallTest, IconPicturesHaveTheSizeTheirFolderNames) {
  for (int size : kIconSizes) {
    SCOPED_TRACE(size);
    const auto side = static_cast<std::uint32_t>(size);
    EXPECT_EQ(PngSize(Installed(IconPicture(size))), std::make_pair(side, side));
  }
}

TEST_F(InstallTest, InstalledProgramsRunFromThePrefix) {
  for (const char* program : {"bin/tovmar", "bin/tovmar-cli"}) {
    SCOPED_TRACE(program);
    struct stat info {};
    ASSERT_EQ(::stat(Installed(program).c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IXUSR, 0u);
    const ProcessResult version = test::RunProcess(Installed(program), {"--version"});
    EXPECT_EQ(version.exitStatus, 0) << version.err;
    EXPECT_THAT(version.out, ::testing::EndsWith(std::string(" ") + TOVMAR_VERSION + "\n"));
  }
}

}  // namespace
}  // namespace tovmar
