// What the window does to the user's files: saving never empties a file that holds something, and
// the start-up options take any file name the system can open.
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "app/CommandLineInfo.h"
#include "app/FileNames.h"
#include "base/FileBytes.h"
#include "mesh/SceneStore.h"
#include "tests/gui/AppAccess.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

std::string Bytes(const wxString& path) {
  std::ifstream in(PathFromUtf8(CorePath(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class UserFilesTest : public testing::Test {
 protected:
  ~UserFilesTest() override { Frame().NewDocument(); }

  // Ctrl+S typed with the keyboard focus in the 3D view.
  static void PressCtrlS() {
    View3D().SetFocus();
    PumpEvents(40);
    wxUIActionSimulator().Char('S', wxMOD_CONTROL);
    PumpEvents(100);
  }

  TestFolder m_folder{"tovmar-user-files"};
  ScriptedFileDialogs m_dialogs;
  RecordingMessageSink m_messages;
};

TEST_F(UserFilesTest, SaveNeverEmptiesAFileThatHoldsSomething) {
  // A mesh opened as the document: Ctrl+S asks nothing and leaves it as it was.
  const wxString mesh = WriteBallMesh(m_folder, "ball.llm", 0.1f);
  const std::string meshBytes = Bytes(mesh);
  ASSERT_TRUE(Frame().OpenDocument(mesh));
  PressCtrlS();
  EXPECT_TRUE(m_dialogs.requests.empty());
  EXPECT_EQ(Bytes(mesh), meshBytes);
  EXPECT_EQ(Frame().GetTitle(), "ball.llm - Tovmar");

  // Saved for the first time into a file with content, chosen in the dialog: left as it is too.
  Frame().NewDocument();
  const wxString notes = m_folder.File("notes.tovm");
  ASSERT_TRUE(WriteFileBytes(CorePath(notes), "not empty"));
  m_dialogs.Choose(notes);
  PressCtrlS();
  EXPECT_EQ(m_dialogs.requests.size(), 1u);
  EXPECT_EQ(Bytes(notes), "not empty");
  EXPECT_EQ(Frame().GetTitle(), "notes.tovm - Tovmar");

  // A new name becomes an empty document file, which the next Ctrl+S keeps.
  Frame().NewDocument();
  const wxString fresh = m_folder.File("fresh.tovm");
  m_dialogs.Choose(fresh);
  PressCtrlS();
  PressCtrlS();
  EXPECT_EQ(m_dialogs.requests.size(), 2u);
  ASSERT_TRUE(std::filesystem::exists(PathFromUtf8(CorePath(fresh))));
  EXPECT_EQ(Bytes(fresh), "");
  EXPECT_EQ(Frame().GetTitle(), "fresh.tovm - Tovmar");
  EXPECT_TRUE(m_messages.messages.empty());
}

// File names are bytes: names that are not valid UTF-8 reach the files they name, from the command
// line through the panel to the readers.
TEST_F(UserFilesTest, StartupOptionsTakeNamesThatAreNotUtf8) {
  const std::filesystem::path folder = m_folder.Path();
  const std::filesystem::path mesh = folder / "ball\xff\xfe.llm";
  const std::filesystem::path look = folder / "look\xe9.xml";
  std::filesystem::rename(PathFromUtf8(CorePath(WriteBallMesh(m_folder, "ball.llm", 0.1f))), mesh);
  ASSERT_TRUE(WriteFileBytes(look.string(),
                             "<linden_genepool><archetype><param id='1' name='Big_Belly' "
                             "value='0.75'/></archetype></linden_genepool>"));

  std::string meshArg = mesh.string();
  std::string lookArg = "--appearance=" + look.string();
  std::vector<std::string> words = {"tovmar",   "--mesh", meshArg,  lookArg,
                                    "doc.tovm", "--",     "--mesh", "after"};
  std::vector<char*> args;
  for (std::string& word : words) args.push_back(word.data());
  const StartupPaths paths = TakeStartupPaths(args);
  EXPECT_EQ(paths.mesh, mesh.string());
  EXPECT_EQ(paths.appearance, look.string());
  EXPECT_EQ(paths.texture, "");
  EXPECT_EQ(std::vector<std::string>(args.begin(), args.end()),
            (std::vector<std::string>{"tovmar", "doc.tovm", "--", "--mesh", "after"}));

  App().ApplyStartupPaths(paths);
  EXPECT_TRUE(m_messages.messages.empty());
  SceneStore& store = Scene();
  ASSERT_EQ(store.MeshCount(), 2u);
  EXPECT_EQ(store.GetMesh(0)->header.name, mesh.string());
  EXPECT_EQ(CorePath(Doc().GetMeshFolder()), (folder / "").string());
  EXPECT_EQ(Doc().m_mesh.morphTargets.at(0).weight, 0.75f);
}

// A .llm file named where a document would stand loads as the mesh, as a file manager passes it.
TEST(StartupMeshArgument, LlmFileNamedAloneIsTheMesh) {
  struct Case {
    std::vector<std::string> words;
    std::string mesh;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {{"tovmar", "body.LLM"}, "body.LLM", {"tovmar"}},
      {{"tovmar", "doc.tovm"}, "", {"tovmar", "doc.tovm"}},
      {{"tovmar", "--mesh", "a.llm", "b.llm"}, "a.llm", {"tovmar", "b.llm"}},
      {{"tovmar", "--", "c.llm"}, "", {"tovmar", "--", "c.llm"}},
      {{"tovmar", ".llm", "-x.llm"}, "", {"tovmar", ".llm", "-x.llm"}},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.words.back());
    std::vector<char*> args;
    for (std::string& word : c.words) args.push_back(word.data());
    EXPECT_EQ(TakeStartupPaths(args).mesh, c.mesh);
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.end()), c.kept);
  }
}

}  // namespace
}  // namespace tovmar
