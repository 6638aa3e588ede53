// The full program, tovmar-cli-full, to which the launcher tovmar-cli hands every run it does not
// do itself.
#pragma once

namespace tovmar::cli {

// Replaces this process by the full program with the same `argv` (argv[0] included, so that its
// messages still name tovmar-cli), standard input and output untouched. The full program is
// looked for beside the launcher's own file, where the build puts it, then where the install puts
// it relative to the launcher's folder. Returns only when neither can be run, after saying so on
// standard error: kExitFailure.
int RunFullProgram(char** argv);

}  // namespace tovmar::cli
