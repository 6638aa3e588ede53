// What a batch tells a terminal (here a pseudo-terminal that `script` opens): a progress line, a
// summary at the end, neither with --quiet, and failures in every case. Off a terminal the batch
// tests of each command see the failure lines alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/FixtureMesh.h"
#include "tests/support/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

// `word` for a POSIX shell, in single quotes.
std::string ShellWord(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliBatchProgress : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(m_folder.Path() / "out");
    const std::string mesh = WriteLlm(MakeFixtureMesh());
    for (int i = 1; i <= 12; ++i) {
      m_meshes.push_back(m_folder.File("mesh" + std::to_string(i) + ".llm"));
      ASSERT_TRUE(WriteFileBytes(m_meshes.back(), mesh));
    }
  }

  // `args` (a command and its options) over the twelve meshes, with standard error on a
  // terminal: what the terminal showed.
  ProcessResult OnTerminal(const std::vector<std::string>& args) {
    std::string command = ShellWord(kCliPath);
    for (const std::string& word : args) command += " " + ShellWord(word);
    for (const std::string& mesh : m_meshes) command += " " + ShellWord(mesh);
    command += " -o " + ShellWord(m_folder.File("out"));
    return RunProcess("/usr/bin/script", {"-qec", command, "/dev/null"});
  }

  TempFolder m_folder;
  std::vector<std::string> m_meshes;
};

// uv runs the files one after another, render on several threads: both report in input order.
TEST_F(CliBatchProgress, TerminalShowsEachFileInPlaceAndASummary) {
  if (!std::filesystem::exists("/usr/bin/script")) GTEST_SKIP() << "no script(1) for a terminal";
  const std::vector<std::string> commands[] = {{"uv", "--size", "8"},
                                               {"render", "--size", "8x8", "--jobs", "2"}};
  for (std::vector<std::string> args : commands) {
    SCOPED_TRACE(args[0]);
    const ProcessResult shown = OnTerminal(args);
    ASSERT_EQ(shown.exitStatus, 0) << shown.out;
    EXPECT_NE(shown.out.find("\r\x1b[K1/12 mesh1.llm\r\x1b[K2/12 mesh2.llm"), std::string::npos)
        << shown.out;
    EXPECT_NE(
        shown.out.find("\r\x1b[K12/12 mesh12.llm\r\x1b[K" + args[0] + ": 12 files written in "),
        std::string::npos)
        << shown.out;

    args.push_back("--quiet");
    const ProcessResult quiet = OnTerminal(args);
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_EQ(quiet.out, "");
  }
}

// A failure takes the progress line away, has a line of its own and is counted; --quiet keeps
// the failure.
TEST_F(CliBatchProgress, FailureLineStandsAloneAndIsCounted) {
  if (!std::filesystem::exists("/usr/bin/script")) GTEST_SKIP() << "no script(1) for a terminal";
  m_meshes.insert(m_meshes.begin() + 1, m_folder.File("missing.llm"));
  const std::string failure = "tovmar-cli: uv: " + m_meshes[1] + ": cannot open";
  const ProcessResult shown = OnTerminal({"uv", "--size", "8"});
  EXPECT_EQ(shown.exitStatus, 2);
  EXPECT_NE(shown.out.find("1/13 mesh1.llm\r\x1b[K" + failure), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("uv: 12 of 13 files written, 1 failed in "), std::string::npos)
      << shown.out;

  const ProcessResult quiet = OnTerminal({"uv", "--size", "8", "-q"});
  EXPECT_EQ(quiet.exitStatus, 2);
  EXPECT_EQ(quiet.out.rfind(failure, 0), 0u) << quiet.out;
  EXPECT_EQ(quiet.out.find("files written"), std::string::npos) << quiet.out;
}

}  // namespace
}  // namespace tovmar::test
