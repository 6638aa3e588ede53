#include <gtest/gtest.h>

#include "tests/cli/CliFixtures.h"
#include "tests/cli/CliTestPaths.h"
#include "tests/cli/RunProcess.h"
#include "tests/support/LlmWriter.h"

namespace tovmar::test {
namespace {

// Every failure: exit status 2, one "tovmar-cli: " line on standard error, nothing on standard
// output, and no file left in the folder but the mesh and an output that was already there.
TEST(CliErrors, EveryFailureIsOneLineAndLeavesNoFile) {
  TempFolder folder;
  const std::string mesh = folder.File("mesh.llm");
  const std::string out = folder.File("out.obj");
  ASSERT_TRUE(WriteFileBytes(mesh, WriteLlm(MakeFixtureMesh())));
  ASSERT_TRUE(WriteFileBytes(out, "previous"));

  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"info"},
      {"info", mesh, mesh},
      {"info", folder.File("missing.llm")},
      {"info", folder.File("line\nbreak.llm")},
      {"info", folder.Path().string()},
      {"info", "/dev/zero"},
      {"info", mesh, "--bogus"},
      {"info", mesh, "--json=yes"},
      {"export-obj", folder.File("missing.llm"), "-o", out},
      {"export-obj", mesh},
      {"export-obj", mesh, "-o"},
      {"export-obj", mesh, "-o", out, "-o", out},
      {"export-obj", mesh, "--weight", "Nothing=1", "-o", out},
      {"export-obj", mesh, "--weight", "Arm_Up=1", "--weight", "Nothing=1", "-o", out},
      {"export-obj", mesh, "--weight", "Arm_Up", "-o", out},
      {"export-obj", mesh, "--weight", "Arm_Up=", "-o", out},
      {"export-obj", mesh, "--weight", "=1", "-o", out},
      {"export-obj", mesh, "--weight", "Arm_Up=1x", "-o", out},
      {"export-obj", mesh, "--weight", "Arm_Up=nan", "-o", out},
      {"export-obj", mesh, "--weight", "Arm_Up=1e999", "-o", out},
      {"export-obj", mesh, "-o", folder.File("no such folder/out.obj")},
      {"export-obj", mesh, "-o", folder.Path().string()},
  };
  for (const std::vector<std::string>& args : cases) {
    std::string shown;
    for (const std::string& a : args) shown += " [" + a + "]";
    const ProcessResult r = RunProcess(kCliPath, args);
    EXPECT_EQ(r.exitStatus, 2) << shown;
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_EQ(r.err.rfind("tovmar-cli: ", 0), 0u) << shown << ": " << r.err;
    EXPECT_EQ(SplitLines(r.err).size(), 1u) << shown << ": " << r.err;
    EXPECT_EQ(r.err.back(), '\n') << shown;
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"mesh.llm", "out.obj"})) << shown;
    EXPECT_EQ(ReadFileText(out), "previous") << shown;
  }
}

TEST(CliErrors, HelpAndVersionSucceed) {
  const ProcessResult help = RunProcess(kCliPath, {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("  info FILE.llm [--json]\n"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("  export-obj FILE.llm [--weight NAME=VALUE]... -o OUT.obj\n"),
            std::string::npos);

  const ProcessResult commandHelp = RunProcess(kCliPath, {"export-obj", "--help"});
  EXPECT_EQ(commandHelp.exitStatus, 0);
  EXPECT_EQ(commandHelp.out.rfind("Usage: tovmar-cli export-obj FILE.llm", 0), 0u);
  EXPECT_NE(commandHelp.out.find("-o, --output OUT.obj"), std::string::npos);

  const ProcessResult version = RunProcess(kCliPath, {"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "tovmar-cli " TOVMAR_VERSION "\n");
}

}  // namespace
}  // namespace tovmar::test
