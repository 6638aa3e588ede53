// What -o does to the files it names: never an input, links followed or kept, devices and pipes
// written as they are, permissions kept, any file name, and a whole file or the old one.
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string_view>
#include <thread>

#include "base/SignalCleanup.h"
#include "tests/cli/CliTestPaths.h"
#include "tests/support/FixtureMesh.h"
#include "tests/support/RunProcess.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

namespace fs = std::filesystem;

class CliOutputFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteFileBytes(mesh, WriteLlm(MakeFixtureMesh())));
    meshBytes = ReadFileText(mesh);
  }
  ProcessResult Export(const std::string& out, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"export-obj", mesh, "-o", out};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProcess(kCliPath, args);
  }
  std::string ObjText() {
    const ProcessResult r = Export("-");
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return r.out;
  }

  TempFolder folder;
  const std::string mesh = folder.File("mesh.llm");
  std::string meshBytes;
};

// -o that names an input, however it is spelt or reached, fails before anything is written.
TEST_F(CliOutputFile, AnInputIsNeverTheOutput) {
  const std::string look = folder.File("look.xml");
  ASSERT_TRUE(WriteFileBytes(look, "<linden_genepool/>"));
  fs::create_symlink("mesh.llm", folder.File("link.obj"));
  fs::create_hard_link(mesh, folder.File("hard.obj"));
  // The picture that render would write into the folder for mesh.llm.
  fs::create_hard_link(mesh, folder.File("mesh.png"));
  const std::vector<std::vector<std::string>> cases = {
      {"export-obj", mesh, "-o", mesh},
      {"export-obj", mesh, "-o", folder.File("./mesh.llm")},
      {"export-obj", mesh, "-o", folder.File("link.obj")},
      {"export-obj", mesh, "-o", folder.File("hard.obj")},
      {"export-obj", mesh, "--appearance", look, "-o", look},
      {"render", mesh, "-o", mesh},
      {"render", mesh, "--texture", look, "-o", look},
      {"render", mesh, "-o", folder.Path().string()},
  };
  for (const std::vector<std::string>& args : cases) {
    const ProcessResult r = RunProcess(kCliPath, args);
    EXPECT_EQ(r.exitStatus, 2) << args.back();
    EXPECT_NE(r.err.find("it is the input file"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileText(mesh), meshBytes);
    EXPECT_EQ(ReadFileText(look), "<linden_genepool/>");
  }
}

// A symbolic link leads to the file that is replaced; a hard link keeps sharing the new contents;
// an existing file keeps its permissions; a name of 249 bytes works and leaves nothing behind.
TEST_F(CliOutputFile, LinksPermissionsAndLongNamesAreKept) {
  const std::string obj = ObjText();
  fs::create_symlink("target.obj", folder.File("link.obj"));
  ASSERT_TRUE(WriteFileBytes(folder.File("old.obj"), "previous"));
  fs::create_hard_link(folder.File("old.obj"), folder.File("other-name.obj"));
  ASSERT_TRUE(WriteFileBytes(folder.File("private.obj"), "previous"));
  fs::permissions(folder.File("private.obj"), fs::perms::owner_read | fs::perms::owner_write);
  const std::string longName = std::string(245, 'n') + ".obj";

  for (const std::string& out : {folder.File("link.obj"), folder.File("old.obj"),
                                 folder.File("private.obj"), folder.File(longName)}) {
    const ProcessResult r = Export(out);
    EXPECT_EQ(r.exitStatus, 0) << out << ": " << r.err;
    EXPECT_EQ(ReadFileText(out), obj) << out;
  }
  EXPECT_TRUE(fs::is_symlink(folder.File("link.obj")));
  EXPECT_EQ(ReadFileText(folder.File("target.obj")), obj);
  EXPECT_EQ(ReadFileText(folder.File("other-name.obj")), obj);
  EXPECT_EQ(fs::hard_link_count(folder.File("old.obj")), 2u);
  EXPECT_EQ(fs::status(folder.File("private.obj")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(folder.Entries(),
            (std::vector<std::string>{"link.obj", "mesh.llm", longName, "old.obj", "other-name.obj",
                                      "private.obj", "target.obj"}));
}

// "-o -" writes standard output for every command and never a file named "-"; the file standard
// output goes to is refused when it is an input, and so are several outputs.
TEST_F(CliOutputFile, StandardOutputIsNeverAFile) {
  const struct {
    std::vector<std::string> args;
    std::string start;  // of standard output; empty: refused with this on standard error
    std::string error;
  } cases[] = {
      {{"export-obj", mesh, "-o", "-"}, "#", ""},
      {{"uv", mesh, "--size", "8", "-o", "-"}, "\x89PNG", ""},
      {{"render", mesh, "--size", "8x8", "-o", "-"}, "\x89PNG", ""},
      {{"export-gltf", mesh, "-o", "-"}, "glTF", ""},
      {{"render", mesh, "--texture", "-", "-o", "-"}, "", "cannot open texture '-'"},
      {{"export-gltf", mesh, "--add", "-", "-o", "-"}, "", "'-' is not a mesh"},
      {{"uv", mesh, mesh, "-o", "-"}, "", "-o - writes one file to standard output"},
  };
  for (const auto& c : cases) {
    const ProcessResult r = RunProcess(kCliPath, c.args);
    EXPECT_EQ(r.exitStatus, c.start.empty() ? 2 : 0) << c.args[0] << ": " << r.err;
    EXPECT_TRUE(r.out.starts_with(c.start)) << c.args[0];
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists("-")) << c.args[0];
  }

  // Standard output sent into an input file, appending.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int fd = open(mesh.c_str(), O_WRONLY | O_APPEND);
    if (fd < 0 || dup2(fd, 1) < 0) _exit(99);
    execl(kCliPath.c_str(), kCliPath.c_str(), "export-obj", mesh.c_str(), "-o", "-", nullptr);
    _exit(98);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
  EXPECT_EQ(ReadFileText(mesh), meshBytes);
}

// "-" as the mesh file reads standard input, once, whatever it is opened on; a batch takes it as
// its only input, and the output cannot be the file it comes from.
TEST_F(CliOutputFile, StandardInputIsOneMeshFile) {
  const ProcessResult fromFile = Export("-");
  const std::string outFolder = folder.File("out");
  fs::create_directory(outFolder);
  const struct {
    std::string command;  // after "tovmar-cli", in a shell
    std::string out;      // standard output expected, or its start; empty: refused
    std::string error;
  } cases[] = {
      {"export-obj - -o - < " + mesh, fromFile.out, ""},
      {"cat " + mesh + " | exec $CLI render - --size 8x8 -o -", "\x89PNG", ""},
      {"info - < " + mesh, "File:                   -\n", ""},
      {"export-gltf - --add - -o - < " + mesh, "", "can be read only once"},
      {"uv - " + mesh + " -o " + outFolder + " < " + mesh, "", "can be the only mesh file"},
      {"render - -o " + outFolder + " < " + mesh, "", "-o must name the output file or '-'"},
      {"export-obj - -o " + mesh + " < " + mesh, "", "it is the input file '-'"},
  };
  for (const auto& c : cases) {
    const std::string line = c.command.starts_with("cat ") ? c.command : "exec $CLI " + c.command;
    const ProcessResult r = RunProcess("/bin/sh", {"-c", "CLI='" + kCliPath + "'; " + line});
    EXPECT_EQ(r.exitStatus, c.out.empty() ? 2 : 0) << c.command << ": " << r.err;
    EXPECT_TRUE(r.out.starts_with(c.out)) << c.command;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << c.command << ": " << r.err;
  }
  EXPECT_EQ(ReadFileText(mesh), meshBytes);
  EXPECT_TRUE(fs::is_empty(outFolder));
}

// Runs the program as a user who owns none of the test's files (as root, "nobody"), and returns
// its exit status.
int RunAsAnotherUser(const std::vector<std::string>& args) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (geteuid() == 0) {
      constexpr uid_t kNobody = 65534;
      if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(99);
    }
    std::vector<char*> argv = {const_cast<char*>(kCliPath.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execv(kCliPath.c_str(), argv.data());
    _exit(98);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// A file the user may not write is refused as the shell refuses it, under any of its names, and
// stays as it was; a file the user may write is written.
TEST_F(CliOutputFile, AFileTheUserMayNotWriteIsRefused) {
  fs::permissions(folder.Path(), fs::perms::all);
  fs::permissions(mesh, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const struct {
    const char* name;
    fs::perms perms;
    const char* link;  // another name for it: "hard" or "soft"
    int status;
  } cases[] = {
      {"r.obj", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, "", 2},
      {"owner.obj", fs::perms::owner_read, "", 2},
      {"none.obj", fs::perms::none, "", 2},
      {"linked.obj", fs::perms::owner_read | fs::perms::others_read, "hard", 2},
      {"led-to.obj", fs::perms::owner_read | fs::perms::others_read, "soft", 2},
      {"open.obj", fs::perms::all, "", 0},
  };
  for (const auto& c : cases) {
    const std::string file = folder.File(c.name);
    ASSERT_TRUE(WriteFileBytes(file, "previous"));
    fs::permissions(file, c.perms);
    std::string out = file;
    if (std::string_view(c.link) == "hard") {
      out = folder.File(std::string("other-") + c.name);
      fs::create_hard_link(file, out);
    } else if (std::string_view(c.link) == "soft") {
      out = folder.File(std::string("link-") + c.name);
      fs::create_symlink(c.name, out);
    }
    EXPECT_EQ(RunAsAnotherUser({"export-obj", mesh, "-o", out}), c.status) << c.name;
    EXPECT_EQ(fs::status(file).permissions(), c.perms) << c.name;
    // Readable again for a test that does not run as root.
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadFileText(file) == "previous", c.status != 0) << c.name;
  }
  for (const std::string& name : folder.Entries()) {
    EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
  }
}

// A signal that reaches the program once it has begun to rewrite a file with two names waits
// until both names show the whole new contents, never the old ones padded with zeros, and then
// ends the program.
TEST_F(CliOutputFile, ASignalWaitsUntilAFileWithTwoNamesIsWhole) {
  LlmMesh big = MakeFixtureMesh();
  big.morphTargets.resize(20000, big.morphTargets.at(0));
  ASSERT_TRUE(WriteFileBytes(mesh, WriteLlm(big)));
  const std::string out = folder.File("out.glb");
  const std::string other = folder.File("other.glb");
  ASSERT_EQ(RunProcess(kCliPath, {"export-gltf", mesh, "-o", out}).exitStatus, 0);
  const std::string fresh = ReadFileText(out);
  const std::string old(fresh.size() / 2, 'o');
  fs::create_hard_link(out, other);
  for (const int signal : {SIGTERM, SIGQUIT, SIGUSR1, SIGALRM}) {
    ASSERT_TRUE(WriteFileBytes(out, old));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      execl(kCliPath.c_str(), kCliPath.c_str(), "export-gltf", mesh.c_str(), "-o", out.c_str(),
            nullptr);
      _exit(98);
    }
    // The signal goes as soon as the file begins to grow; a run that never gets there is ended.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    struct stat info {};
    while (stat(other.c_str(), &info) == 0 &&
           static_cast<std::size_t>(info.st_size) == old.size() &&
           std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::yield();
    }
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    EXPECT_TRUE(ReadFileText(other) == fresh) << signal;
    EXPECT_EQ(ReadFileText(out), ReadFileText(other));
    EXPECT_EQ(folder.Entries().size(), 3u) << signal;
  }
}

// A pipe and a device are written as they are, not replaced by a regular file.
TEST_F(CliOutputFile, PipesAndDevicesAreWrittenDirectly) {
  const std::string obj = ObjText();
  const std::string pipe = folder.File("pipe.obj");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // A reader that is there before the writer; the text fits in the pipe's buffer.
  const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(Export(pipe).exitStatus, 0);
  std::string received(obj.size() + 1, '\0');
  const ssize_t n = read(reader, received.data(), received.size());
  close(reader);
  EXPECT_EQ(received.substr(0, n > 0 ? static_cast<std::size_t>(n) : 0), obj);
  EXPECT_TRUE(fs::is_fifo(pipe));

  // As root, a null device of the test's own: a fault would replace that one, not the system's,
  // which nobody else can replace.
  std::string device = "/dev/null";
  if (geteuid() == 0) {
    device = folder.File("null");
    ASSERT_EQ(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    const int fd = open(device.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) GTEST_SKIP() << "no device can be opened in the temporary folder";
    close(fd);
  }
  EXPECT_EQ(Export(device).exitStatus, 0);
  EXPECT_TRUE(fs::is_character_file(device));
}

// Without room for the new contents, the command fails and every name of the old file still
// holds the old contents; no temporary file is left.
TEST_F(CliOutputFile, AFullDiskLeavesTheOldFileWhole) {
  ASSERT_TRUE(WriteFileBytes(folder.File("single.obj"), "previous"));
  ASSERT_TRUE(WriteFileBytes(folder.File("linked.obj"), "previous"));
  fs::create_hard_link(folder.File("linked.obj"), folder.File("linked-too.obj"));
  const ScopedFileSizeLimit full(100);
  ASSERT_TRUE(full.Active());
  for (const char* name : {"single.obj", "linked.obj"}) {
    EXPECT_EQ(Export(folder.File(name)).exitStatus, 2) << name;
  }
  for (const char* name : {"single.obj", "linked.obj", "linked-too.obj"}) {
    EXPECT_EQ(ReadFileText(folder.File(name)), "previous") << name;
  }
  EXPECT_EQ(folder.Entries().size(), 4u);
}

// Every catchable signal that ends the program removes the temporary file, and still ends the
// program once a write that held it back is done; a signal the program ignores changes nothing.
TEST(CliSignalCleanup, SignalsRemoveTheTemporaryFileAndStillEndTheProgram) {
  TempFolder folder;
  const std::string temporary = folder.File("out.obj.tmp-123456");
  const std::string written = folder.File("written");
  for (const int signal :
       {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE, SIGXCPU, 0}) {
    ASSERT_TRUE(WriteFileBytes(temporary, "partial"));
    fs::remove(written);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Signal 0 stands for an ignored SIGHUP. No core file from the signals that leave one.
      if (signal == 0) std::signal(SIGHUP, SIG_IGN);
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      SignalCleanup cleanup;
      cleanup.SetFileToRemove(temporary.c_str());
      {
        const HeldSignals held(cleanup);
        std::raise(signal == 0 ? SIGHUP : signal);
        close(open(written.c_str(), O_WRONLY | O_CREAT, 0600));
      }
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(fs::exists(written)) << signal;
    if (signal == 0) {
      EXPECT_TRUE(WIFEXITED(status));
      EXPECT_TRUE(fs::exists(temporary));
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
      EXPECT_FALSE(fs::exists(temporary)) << signal;
    }
  }
}

// Writers on two threads at once: a signal waits until neither holds it back, then removes both
// temporary files before it ends the program.
TEST(CliSignalCleanup, ASignalRemovesTheFileOfEveryWriterAtOnce) {
  TempFolder folder;
  const std::string first = folder.File("first.tmp-123456");
  const std::string second = folder.File("second.tmp-123456");
  const std::string written = folder.File("written");
  ASSERT_TRUE(WriteFileBytes(first, "partial") && WriteFileBytes(second, "partial"));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SignalCleanup mine;
    mine.SetFileToRemove(first.c_str());
    std::atomic<int> stage{0};
    std::thread other([&] {
      SignalCleanup theirs;
      theirs.SetFileToRemove(second.c_str());
      const HeldSignals held(theirs);
      stage = 1;
      while (stage != 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      close(open(written.c_str(), O_WRONLY | O_CREAT, 0600));
    });
    while (stage != 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::raise(SIGTERM);
    stage = 2;
    other.join();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_TRUE(fs::exists(written)) << "the held write finished first";
  EXPECT_FALSE(fs::exists(first));
  EXPECT_FALSE(fs::exists(second));
}

}  // namespace
}  // namespace tovmar::test
