// `cmake --install` of this build into a fresh folder: the two programs and, out of the PATH, the
// whole of tovmar-cli that its launcher runs, the desktop entry, the AppStream metainfo, the
// document and mesh types, the icon as a drawing and as pictures of every size, the compressed
// manual pages and the completion of tovmar-cli, each where the desktop, `man` and bash look for
// it, the README and the user's guide that the window's picture links open, and each package's
// copyright file and changelog.
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

const std::string kAppId = "io.github.tovmar.Tovmar";

std::string IconPicture(int size) {
  const std::string side = std::to_string(size);
  return "share/icons/hicolor/" + side + "x" + side + "/apps/" + kAppId + ".png";
}

// Every file the install puts down, relative to the prefix.
std::set<std::string> ExpectedFiles() {
  std::set<std::string> files = {
      "bin/tovmar",
      "bin/tovmar-cli",
      TOVMAR_CLI_FULL_DIR "/tovmar-cli-full",
      "share/applications/" + kAppId + ".desktop",
      "share/metainfo/" + kAppId + ".metainfo.xml",
      "share/mime/packages/tovmar-document.xml",
      "share/mime/packages/tovmar-llm-mesh.xml",
      "share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
      "share/man/man1/tovmar-cli.1.gz",
      "share/man/man1/tovmar.1.gz",
      "share/bash-completion/completions/tovmar-cli",
      TOVMAR_CLI_DOC_DIR "/cli.md",
  };
  for (const std::string docs : {TOVMAR_DOC_DIR, TOVMAR_CLI_DOC_DIR}) {
    files.insert(docs + "/copyright");
    files.insert(docs + "/changelog.Debian.gz");
  }
  for (const char* package : {"tovmar", "tovmar-cli"}) {
    files.insert(std::string("share/lintian/overrides/") + package);
  }
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
  const std::pair<std::string, std::string> copies[] = {
      {"share/applications/" + kAppId + ".desktop", source + "/resources/" + kAppId + ".desktop"},
      {"share/metainfo/" + kAppId + ".metainfo.xml",
       source + "/resources/" + kAppId + ".metainfo.xml"},
      {"share/mime/packages/tovmar-document.xml", source + "/resources/tovmar-document.xml"},
      {"share/mime/packages/tovmar-llm-mesh.xml", source + "/resources/tovmar-llm-mesh.xml"},
      {"share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
       source + "/resources/icons/tovmar.svg"},
      {"share/bash-completion/completions/tovmar-cli", source + "/cli/tovmar-cli.bash-completion"},
      {TOVMAR_DOC_DIR "/copyright", source + "/cmake/debian/copyright"},
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

TEST_F(InstallTest, ManualPagesAreTheSourcePagesCompressed) {
  for (const char* program : {"tovmar", "tovmar-cli"}) {
    SCOPED_TRACE(program);
    const std::string page = std::string("share/man/man1/") + program + ".1.gz";
    const ProcessResult unpacked = test::RunProcess(TOVMAR_GZIP, {"-dc", Installed(page)});
    ASSERT_EQ(unpacked.exitStatus, 0) << unpacked.err;
    EXPECT_EQ(unpacked.out,
              test::ReadFileText(std::string(TOVMAR_SOURCE_DIR) + "/docs/" + program + ".1"));
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
