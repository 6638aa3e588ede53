// The built tovmar program run without a display: --help and --version answer and exit 0, and
// anything else stops with the plain message about the missing display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/RunProcess.h"

namespace tovmar {
namespace {

using test::ProcessResult;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class CommandLineTest : public ::testing::Test {
 protected:
  // The program inherits this process's environment: take every display away from it.
  void SetUp() override {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }

  static ProcessResult Run(const std::vector<std::string>& args) {
    return test::RunProcess(TOVMAR_APP_PATH, args);
  }

  static void ExpectNoDisplayFailure(const ProcessResult& result) {
    EXPECT_NE(result.exitStatus, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_THAT(result.err, HasSubstr("tovmar: no display to open the window on"));
    EXPECT_THAT(result.err, HasSubstr("xvfb-run -a tovmar"));
  }
};

TEST_F(CommandLineTest, VersionPrintsTheProgramAndItsVersion) {
  const ProcessResult result = Run({"--version"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, std::string("tovmar ") + TOVMAR_VERSION + "\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(CommandLineTest, HelpDescribesEveryOptionAndTheDocumentOnOneLineEach) {
  for (const char* request : {"--help", "-h"}) {
    SCOPED_TRACE(request);
    const ProcessResult result = Run({request});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> lines = test::SplitLines(result.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Usage: tovmar [OPTIONS] [DOCUMENT]");
    const auto lineStarting = [&lines](const std::string& start) {
      for (const std::string& line : lines) {
        if (line.starts_with(start)) return line;
      }
      return std::string();
    };
    EXPECT_THAT(lineStarting("  --mesh FILE "),
                MatchesRegex(" +--mesh FILE +load this \\.llm mesh after start-up"));
    EXPECT_THAT(lineStarting("  --texture IMAGE "),
                MatchesRegex(" +--texture IMAGE +then put this image on it as its texture"));
    EXPECT_THAT(lineStarting("  --avatar DIR "),
                MatchesRegex(" +--avatar DIR +open this character folder as a whole avatar.*"));
    EXPECT_THAT(
        lineStarting("  --appearance FILE-or-URL "),
        MatchesRegex(" +--appearance FILE-or-URL +then apply this appearance file or http\\(s\\) "
                     "address"));
    EXPECT_THAT(lineStarting("  DOCUMENT "),
                MatchesRegex(" +DOCUMENT +open this Tovmar document \\(\\.tovm\\); a \\.llm mesh "
                             "loads as with --mesh"));
    EXPECT_THAT(lineStarting("  --fit "), HasSubstr("then frame the whole model in the view"));
    EXPECT_THAT(lineStarting("  --version "), HasSubstr("print the version and exit"));
  }
}

TEST_F(CommandLineTest, TheFirstRequestWinsAmongOtherArguments) {
  EXPECT_THAT(Run({"--mesh", "body.llm", "--version", "--help"}).out, MatchesRegex("tovmar .*\n"));
  EXPECT_THAT(Run({"--mesh=body.llm", "--help", "--version"}).out, HasSubstr("Usage: tovmar"));
}

TEST_F(CommandLineTest, WithoutADisplayTheProgramSaysSoPlainly) {
  ExpectNoDisplayFailure(Run({}));
  ExpectNoDisplayFailure(Run({"--mesh", "body.llm", "--texture", "skin.png"}));
}

TEST_F(CommandLineTest, AnOptionValueOrADocumentNamedLikeARequestIsNoRequest) {
  ExpectNoDisplayFailure(Run({"--mesh", "--help"}));
  ExpectNoDisplayFailure(Run({"--appearance", "--version"}));
  ExpectNoDisplayFailure(Run({"--", "--help"}));
}

}  // namespace
}  // namespace tovmar
