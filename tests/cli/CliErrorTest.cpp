#include <gtest/gtest.h>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/FixtureMesh.h"
#include "tests/support/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

// Every failure: exit status 2, one "tovmar-cli: " line on standard error, nothing on standard
// output, and no file left in the folder but the mesh and an output that was already there.
TEST(CliErrors, EveryFailureIsOneLineAndLeavesNoFile) {
  TempFolder folder;
  const std::string mesh = folder.File("mesh.llm");
  const std::string out = folder.File("out.obj");
  const std::string look = folder.File("look.xml");
  ASSERT_TRUE(WriteFileBytes(mesh, WriteLlm(MakeFixtureMesh())));
  ASSERT_TRUE(WriteFileBytes(out, "previous"));
  // Well formed, but with no param element at the right depth.
  ASSERT_TRUE(
      WriteFileBytes(look, "<linden_genepool><param id=\"1\" name=\"Other\"/></linden_genepool>"));
  const std::string here = folder.Path().string();
  const std::string missing = folder.File("missing.llm");

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
      {"export-obj", mesh, "--appearance", look, "-o", out},
      {"export-obj", mesh, "--appearance", folder.File("missing.xml"), "-o", out},
      {"params"},
      {"params", look},
      {"params", look, look},
      {"params", folder.File("missing.xml")},
      {"params", mesh},
      {"params", "http://127.0.0.1:1/look.xml"},
      {"render", mesh},
      {"render", "-o", out},
      {"render", missing, "-o", out},
      {"render", mesh, mesh, "-o", out},
      {"render", mesh, mesh, "-o", here},
      {"render", mesh, "-o", folder.File("no such folder/out.png")},
      {"render", mesh, "--size", "0x10", "-o", out},
      {"render", mesh, "--size", "10x", "-o", out},
      {"render", mesh, "--size", "8193x10", "-o", out},
      {"render", mesh, "--size", "10X10", "-o", out},
      {"render", mesh, "--size", "+5x5", "-o", out},
      {"render", mesh, "--size", "5x5x5", "-o", out},
      {"render", mesh, "--distance", "0.5", "-o", out},
      {"render", mesh, "--distance", "101", "-o", out},
      {"render", mesh, "--turn", "ninety", "-o", out},
      {"render", mesh, "--tilt", "inf", "-o", out},
      {"render", mesh, "--pan", "1", "-o", out},
      {"render", mesh, "--pan", "1,2,3", "-o", out},
      {"render", mesh, "--light", "x,y", "-o", out},
      {"render", mesh, "--weight", "Nothing=1", "-o", out},
      {"render", mesh, "--appearance", look, "-o", out},
      {"render", mesh, "--texture", folder.File("missing.png"), "-o", out},
      {"render", mesh, "--texture", mesh, "-o", out},
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
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"look.xml", "mesh.llm", "out.obj"}))
        << shown;
    EXPECT_EQ(ReadFileText(out), "previous") << shown;
  }
}

TEST(CliErrors, HelpAndVersionSucceed) {
  const ProcessResult help = RunProcess(kCliPath, {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("  info FILE.llm [--json]\n"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("  params FILE-or-URL [--archetypes | --archetype NAME] [--json]\n"),
            std::string::npos);
  EXPECT_NE(help.out.find("  export-obj FILE.llm [--appearance FILE-or-URL [--archetype NAME]] "
                          "[--weight NAME=VALUE]... [--up z|y] [--texture IMAGE] -o OUT.obj\n"),
            std::string::npos);
  EXPECT_NE(help.out.find("  render FILE.llm... [--appearance FILE-or-URL [--archetype NAME]] "
                          "[--weight NAME=VALUE]... [--texture IMAGE]"),
            std::string::npos);

  const ProcessResult commandHelp = RunProcess(kCliPath, {"export-obj", "--help"});
  EXPECT_EQ(commandHelp.exitStatus, 0);
  EXPECT_EQ(commandHelp.out.rfind("Usage: tovmar-cli export-obj FILE.llm", 0), 0u);
  EXPECT_NE(commandHelp.out.find("-o, --output OUT.obj"), std::string::npos);

  // The options that two commands share are described alike in both.
  const ProcessResult renderHelp = RunProcess(kCliPath, {"render", "--help"});
  EXPECT_EQ(renderHelp.exitStatus, 0);
  for (const char* shared : {"--appearance FILE-or-URL", "--weight NAME=VALUE"}) {
    const auto line = [shared](const std::string& text) {
      const std::size_t at = text.find("\n  " + std::string(shared));
      return at == std::string::npos ? std::string()
                                     : text.substr(at, text.find('\n', at + 1) - at);
    };
    EXPECT_NE(line(renderHelp.out), "") << shared;
    EXPECT_EQ(line(renderHelp.out), line(commandHelp.out)) << shared;
  }

  const ProcessResult version = RunProcess(kCliPath, {"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "tovmar-cli " TOVMAR_VERSION "\n");
}

}  // namespace
}  // namespace tovmar::test
