// The bash completion of tovmar-cli, run by bash against the program built here: it reads the
// commands and options from the program's help, so a new option completes without a change to it.
#include <gtest/gtest.h>

#include <string>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/RunProcess.h"

namespace tovmar::test {
namespace {

// What completing the last of `words` offers; `words` without the program, as typed after it.
std::string Complete(const std::string& words) {
  const std::string script =
      "source \"$1\"; read -ra w <<<\"$2\"; [[ $2 == *' ' || -z $2 ]] && w+=(''); "
      "COMP_WORDS=(\"$3\" \"${w[@]}\"); COMP_CWORD=${#w[@]}; _tovmar_cli; "
      "printf '%s\\n' \"${COMPREPLY[*]}\"";
  const ProcessResult r =
      RunProcess("/bin/bash", {"-c", script, "bash", TOVMAR_COMPLETION_PATH, words, kCliPath});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  return r.out;
}

TEST(CliCompletion, OffersCommandsOptionsAndOptionValues) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "export-gltf export-obj info params render uv\n"},
      {"ex", "export-gltf export-obj\n"},
      {"--", "--help --version\n"},
      {"render sample.llm --q", "--quiet\n"},
      {"uv --compression ", "fast small\n"},
      {"params --", "--archetypes --archetype --json --help\n"},
      {"export-obj --up ", "z y\n"},
      {"export-gltf --alpha ", "blend mask\n"},
      {"render --size ", "\n"},
  };
  for (const auto& [words, offered] : cases) {
    SCOPED_TRACE(words);
    EXPECT_EQ(Complete(words), offered);
  }
}

}  // namespace
}  // namespace tovmar::test
