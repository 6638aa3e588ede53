// Where the program keeps its profile (the recent-file list and the settings value): the real
// program runs in a window with HOME and the XDG folders pointing at private folders, opens a
// document and is closed as a desktop closes it. The profile must be written to, and read back
// from, $XDG_CONFIG_HOME/Tovmar/Tovmar.conf, and nothing may be put into the home folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/RunProcess.h"

extern char** environ;

namespace tovmar {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr auto kWindowTimeout = std::chrono::seconds(30);

// The recent-file list's group as the profile file writes it, its spaces escaped.
const std::string kRecentGroup = "[Recent\\ File\\ List]";

// The display the test program was started with: other tests of this program take DISPLAY away
// from their process.
const std::string kDisplayAtStart = [] {
  const char* display = std::getenv("DISPLAY");
  return std::string(display != nullptr ? display : "");
}();

// The environment of this process with `overrides` ("NAME=value") put in place of the same names.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const std::string& change : overrides) replaced = replaced || change.starts_with(name);
    if (!replaced) result.push_back(text);
  }
  result.insert(result.end(), overrides.begin(), overrides.end());
  return result;
}

// A started program, killed when it is still running at the end of the test.
class Child {
 public:
  Child(const std::string& program, const std::vector<std::string>& args,
        std::vector<std::string> environment, const std::string& outputPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const int spawned =
        ::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
  }
  ~Child() {
    if (m_running) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t Pid() const { return m_pid; }

  // The exit status once the program has ended within `timeout`; nothing while it runs.
  std::optional<int> WaitForExit(std::chrono::seconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_running = false;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
  }

 private:
  pid_t m_pid = 0;
  bool m_running = true;
};

// A connection to the X display, for finding the program's window and asking it to close.
class XDisplay {
 public:
  explicit XDisplay(const std::string& name) : m_display(XOpenDisplay(name.c_str())) {}
  ~XDisplay() {
    if (m_display != nullptr) XCloseDisplay(m_display);
  }
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  bool IsOpen() const { return m_display != nullptr; }

  // The shown window of process `pid` whose caption is `caption`, once there is one.
  std::optional<Window> WaitForWindow(pid_t pid, const std::string& caption) {
    const auto end = std::chrono::steady_clock::now() + kWindowTimeout;
    while (std::chrono::steady_clock::now() < end) {
      if (const auto window = Find(DefaultRootWindow(m_display), pid, caption)) return window;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
  }

  // What the window manager sends when the user closes a window from its caption.
  // The class half of the window's WM_CLASS, which desktops match to the desktop entry.
  std::string ClassName(Window window) {
    XClassHint hint{};
    std::string name;
    if (XGetClassHint(m_display, window, &hint) != 0 && hint.res_class != nullptr) {
      name = hint.res_class;
    }
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    return name;
  }

  void RequestClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window, False, NoEventMask, &event);
    XFlush(m_display);
  }

 private:
  // `window` or one of its descendants, with a window manager's frames in between.
  std::optional<Window> Find(Window window, pid_t pid, const std::string& caption) {
    if (IsShown(window) && OwnerPid(window) == pid && Caption(window) == caption) return window;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(m_display, window, &root, &parent, &children, &count) == 0) return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) found = Find(children[i], pid, caption);
    if (children != nullptr) XFree(children);
    return found;
  }

  bool IsShown(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(m_display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
  }

  long OwnerPid(Window window) {
    const Atom property = XInternAtom(m_display, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(m_display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success &&
        data != nullptr && format == 32 && count == 1) {
      pid = *reinterpret_cast<long*>(data);
    }
    if (data != nullptr) XFree(data);
    return pid;
  }

  std::string Caption(Window window) {
    char* name = nullptr;
    std::string caption;
    if (XFetchName(m_display, window, &name) != 0 && name != nullptr) caption = name;
    if (name != nullptr) XFree(name);
    return caption;
  }

  Display* m_display;
};

class ProfileLocationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kDisplayAtStart.empty()) GTEST_SKIP() << "needs an X display: run under xvfb-run -a";
    ASSERT_TRUE(m_x.IsOpen()) << "cannot open the display " << kDisplayAtStart;
    for (const char* folder : {"config", "data", "cache", "documents"}) {
      fs::create_directory(m_root.Path() / folder);
    }
  }

  fs::path Folder(const char* name) const { return m_root.Path() / name; }
  fs::path ProfilePath() const { return Folder("config") / "Tovmar" / "Tovmar.conf"; }

  // An empty document in a folder of its own, outside the home folder.
  std::string MakeDocument(const std::string& name) const {
    const fs::path path = Folder("documents") / name;
    std::ofstream(path).flush();
    return path.string();
  }

  // Starts the program on `document`, closes its window as the desktop would, and expects it to
  // end normally.
  void OpenAndClose(const std::string& document) {
    std::vector<std::string> overrides = {
        "DISPLAY=" + kDisplayAtStart,
        "HOME=" + m_home.Path().string(),
        "XDG_CONFIG_HOME=" + Folder("config").string(),
        "XDG_DATA_HOME=" + Folder("data").string(),
        "XDG_CACHE_HOME=" + Folder("cache").string(),
    };
    // The display's key is found through HOME unless XAUTHORITY names it.
    const char* home = std::getenv("HOME");
    if (std::getenv("XAUTHORITY") == nullptr && home != nullptr) {
      overrides.push_back(std::string("XAUTHORITY=") + home + "/.Xauthority");
    }
    const std::string output = m_root.File("output.txt");
    Child program(TOVMAR_APP_PATH, {document}, EnvironmentWith(overrides), output);
    const std::string caption = fs::path(document).filename().string() + " - Tovmar";
    const std::optional<Window> window = m_x.WaitForWindow(program.Pid(), caption);
    ASSERT_TRUE(window.has_value())
        << "no window \"" << caption << "\" appeared; the program said:\n"
        << test::ReadFileText(output);
    // The desktop entry's StartupWMClass names the window's class, so that a desktop groups the
    // window under the entry's icon.
    const std::string entry = test::ReadFileText(std::string(TOVMAR_SOURCE_DIR) +
                                                 "/resources/io.github.tovmar.Tovmar.desktop");
    EXPECT_NE(entry.find("\nStartupWMClass=" + m_x.ClassName(*window) + "\n"), std::string::npos)
        << entry;
    m_x.RequestClose(*window);
    EXPECT_EQ(program.WaitForExit(kWindowTimeout), std::optional<int>(0))
        << test::ReadFileText(output);
  }

  // The program's home folder, apart from the folders it may write to.
  TempFolder m_home;
  TempFolder m_root;
  XDisplay m_x{kDisplayAtStart};
};

// A start registers both file types for the user and has the desktop's database rebuilt, so that a
// file manager knows ".llm" files and offers the program for them.
TEST_F(ProfileLocationTest, StartRegistersMeshFilesForTheUser) {
  ASSERT_NO_FATAL_FAILURE(OpenAndClose(MakeDocument("any.tovm")));
  EXPECT_THAT(test::ReadFileText((Folder("data") / "applications/tovmar-user.desktop").string()),
              HasSubstr("MimeType=application/x-tovmar-document;model/x-llm-mesh;\n"));
  // The database is rebuilt in the background after the entries were written.
  const fs::path globs = Folder("data") / "mime/globs2";
  for (int i = 0; i < 100 && !fs::exists(globs); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::string database = test::ReadFileText(globs.string());
  EXPECT_THAT(database, HasSubstr("model/x-llm-mesh:*.llm"));
  EXPECT_THAT(database, HasSubstr("application/x-tovmar-document:*.tovm"));
}

TEST_F(ProfileLocationTest, RecentDocumentsAreKeptInTheXdgConfigFolderAndNotInHome) {
  const std::string first = MakeDocument("first.tovm");
  ASSERT_NO_FATAL_FAILURE(OpenAndClose(first));
  ASSERT_TRUE(fs::is_regular_file(ProfilePath()));
  // The user's alone: it names the documents and addresses used.
  EXPECT_EQ(fs::status(ProfilePath()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  const std::string profile = test::ReadFileText(ProfilePath().string());
  EXPECT_THAT(profile, HasSubstr(kRecentGroup + "\nFile1=" + first + "\n"));
  EXPECT_THAT(profile, HasSubstr("[Settings]\nPreviewPages=0\n"));
  EXPECT_THAT(m_home.Entries(), IsEmpty());

  // The next start reads the list back from there: the new document goes on top of the old one.
  const std::string second = MakeDocument("second.tovm");
  ASSERT_NO_FATAL_FAILURE(OpenAndClose(second));
  EXPECT_THAT(test::ReadFileText(ProfilePath().string()),
              HasSubstr(kRecentGroup + "\nFile1=" + second + "\nFile2=" + first + "\n"));
  EXPECT_THAT(m_home.Entries(), IsEmpty());
}

}  // namespace
}  // namespace tovmar
