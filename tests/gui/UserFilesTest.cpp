// What the window does to the user's files: saving never empties a file that holds something.
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/CommandIds.h"
#include "app/FileNames.h"
#include "mesh/FileBytes.h"
#include "tests/gui/AppAccess.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"

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

}  // namespace
}  // namespace tovmar
