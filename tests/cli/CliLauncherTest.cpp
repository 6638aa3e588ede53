// tovmar-cli as a launcher (cli/LauncherMain.cpp): it loads the C and C++ runtime only, its own
// info of a mesh file is the full program's to the byte, and every other run still works through
// the full program.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/FixtureMesh.h"
#include "tests/support/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

namespace fs = std::filesystem;

using Runs = std::vector<std::vector<std::string>>;

// The names in the NEEDED entries of readelf's listing of a dynamic section, without their
// versions: "libstdc++" for " 0x1 (NEEDED)  Shared library: [libstdc++.so.6]".
std::set<std::string> NeededLibraries(const std::string& listing) {
  std::set<std::string> names;
  for (const std::string& line : SplitLines(listing)) {
    const std::size_t open = line.find('[');
    if (line.find("(NEEDED)") == std::string::npos || open == std::string::npos) continue;
    names.insert(line.substr(open + 1, line.find(".so", open) - open - 1));
  }
  return names;
}

// Each run gives the same exit status, output and messages through both programs.
void ExpectSameAsFullProgram(const Runs& runs) {
  for (const std::vector<std::string>& args : runs) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const ProcessResult launcher = RunProcess(kCliPath, args);
    const ProcessResult full = RunProcess(kCliFullPath, args);
    EXPECT_EQ(launcher.exitStatus, full.exitStatus);
    EXPECT_EQ(launcher.out, full.out);
    EXPECT_EQ(launcher.err, full.err);
  }
}

TEST(CliLauncher, LoadsOnlyTheCAndCxxRuntime) {
  const std::string readelf = TOVMAR_READELF_PATH;
  if (readelf.empty()) GTEST_SKIP() << "readelf is not installed";
  const ProcessResult r = RunProcess(readelf, {"--dynamic", kCliPath});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::set<std::string> needed = NeededLibraries(r.out);
  EXPECT_TRUE(needed.contains("libc")) << r.out;
  // The sanitizers' runtimes join them in the sanitized build.
  const std::set<std::string> runtime = {"libstdc++", "libm",    "libgcc_s",
                                         "libc",      "libasan", "libubsan"};
  for (const std::string& library : needed) EXPECT_TRUE(runtime.contains(library)) << library;
}

TEST(CliLauncher, InfoIsTheFullProgramsToTheByte) {
  TempFolder folder;
  const std::string mesh = folder.Write("a mesh.llm", WriteLlm(MakeFixtureMesh()));
  const std::string cut = folder.Write("cut.llm", WriteLlm(MakeFixtureMesh()).substr(0, 300));
  Runs runs = {{"info", mesh},
               {"info", "--json", mesh},
               {"info", cut, "--json"},
               {"info", "-"},
               {"info", "--", mesh},
               {"info", folder.File("none")},
               {"info", mesh, mesh},
               {"info"},
               {"info", "--with-skirt", mesh}};
  const std::string real = RealMeshPath("avatar_lower_body.llm");
  if (!real.empty()) runs.push_back({"info", "--json", real});
  ExpectSameAsFullProgram(runs);
}

TEST(CliLauncher, HandsEveryOtherRunToTheFullProgram) {
  TempFolder folder;
  const std::string mesh = folder.Write("mesh.llm", WriteLlm(MakeFixtureMesh()));
  const ProcessResult version = RunProcess(kCliPath, {"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, std::string("tovmar-cli ") + TOVMAR_VERSION + "\n");
  ExpectSameAsFullProgram({{},
                           {"--help"},
                           {"info", "--help"},
                           {"info", "--bogus", mesh},
                           {"info", "--avatar", folder.File("none")},
                           {"render", "--bogus"},
                           {"params", mesh}});
}

// Alone in a folder, the launcher still does info itself, and says where it looked for the rest.
TEST(CliLauncher, WithoutTheFullProgramRunsInfoAndNamesWhereItLooked) {
  TempFolder folder;
  const std::string mesh = folder.Write("mesh.llm", WriteLlm(MakeFixtureMesh()));
  const fs::path bin = folder.Path() / "a bin";
  fs::create_directory(bin);
  fs::copy_file(kCliPath, bin / "tovmar-cli");
  fs::permissions(bin / "tovmar-cli", fs::perms::owner_all);
  const std::string launcher = (bin / "tovmar-cli").string();

  const ProcessResult info = RunProcess(launcher, {"info", mesh});
  EXPECT_EQ(info.exitStatus, 0) << info.err;
  EXPECT_EQ(info.out, RunProcess(kCliFullPath, {"info", mesh}).out);

  const ProcessResult version = RunProcess(launcher, {"--version"});
  EXPECT_EQ(version.exitStatus, 2);
  EXPECT_EQ(version.out, "");
  const std::string beside = (fs::canonical(bin) / "tovmar-cli-full").string();
  EXPECT_EQ(version.err.rfind("tovmar-cli: the full program is missing: neither '" + beside, 0), 0)
      << version.err;
}

}  // namespace
}  // namespace tovmar::test
