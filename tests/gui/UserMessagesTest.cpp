// What a user is told when a document or the profile cannot be read or written: one message of
// the program's own, in Japanese, naming the file; nothing of the toolkit's (no log dialog, no
// failed assertion); and the program goes on.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <wx/config.h>
#include <wx/log.h>

#include <gtest/gtest.h>

#include "app/Profile.h"
#include "tests/gui/AppAccess.h"
#include "tests/support/RecordingMessageSink.h"

namespace tovmar {
namespace {

// Counts log records and failed assertions while it lives, which the toolkit would show.
class ToolkitReports : public wxLog {
 public:
  ToolkitReports()
      : m_previous(wxLog::SetActiveTarget(this)),
        m_previousHandler(wxSetAssertHandler([](const wxString&, int, const wxString&,
                                                const wxString&, const wxString&) { ++s_count; })) {
    s_count = 0;
  }
  ~ToolkitReports() override {
    wxSetAssertHandler(m_previousHandler);
    wxLog::SetActiveTarget(m_previous);
  }
  int Count() const { return s_count; }

 protected:
  void DoLogRecord(wxLogLevel, const wxString&, const wxLogRecordInfo&) override { ++s_count; }

 private:
  static inline int s_count = 0;
  wxLog* m_previous;
  wxAssertHandler_t m_previousHandler;
};

TEST(UserMessagesTest, DocumentThatCannotBeOpenedIsOneMessageNamingIt) {
  TestFolder folder("tovmar-messages");
  const wxString missing = folder.File("gone.tovm");
  const wxString caption = Frame().GetTitle();
  RecordingMessageSink messages;
  ToolkitReports reports;
  EXPECT_FALSE(Frame().OpenDocument(missing));
  EXPECT_EQ(messages.messages,
            std::vector<std::string>{"ドキュメントを開けませんでした。\n" + missing.utf8_string()});
  EXPECT_EQ(reports.Count(), 0);
  EXPECT_EQ(Frame().GetTitle(), caption);
}

TEST(UserMessagesTest, DamagedProfileIsReadAsFarAsItGoes) {
  TestFolder folder("tovmar-profile");
  const wxString path = folder.File("Tovmar.conf");
  std::ofstream(folder.Path() / "Tovmar.conf")
      << "[Recent File List]\nFile1=/home/a/one.tovm\n=no name\n[Settings\nPreviewPages=0\n";
  ToolkitReports reports;
  bool readable = true;
  const std::unique_ptr<wxConfigBase> profile = OpenProfile(path, readable);
  EXPECT_FALSE(readable);
  EXPECT_EQ(reports.Count(), 0);
  EXPECT_EQ(profile->Read("/Recent File List/File1", ""), "/home/a/one.tovm");
  EXPECT_EQ(UnreadableProfileMessage(path),
            "設定ファイルが読み込めませんでした。\n" + path.utf8_string());

  // A sound profile, or none yet, reads without a word.
  std::ofstream(folder.Path() / "sound.conf") << "[Recent File List]\nFile1=/home/a/two.tovm\n";
  EXPECT_NE(OpenProfile(folder.File("sound.conf"), readable), nullptr);
  EXPECT_TRUE(readable);
  EXPECT_NE(OpenProfile(folder.File("new.conf"), readable), nullptr);
  EXPECT_TRUE(readable);
}

TEST(UserMessagesTest, ProfileThatCannotBeWrittenIsCaught) {
  // Its folder is a plain file: nobody, not even the superuser, can write the profile there.
  TestFolder folder("tovmar-profile");
  std::ofstream(folder.Path() / "not-a-folder") << "x";
  const wxString path = folder.File("not-a-folder/Tovmar.conf");
  ToolkitReports reports;
  bool readable = false;
  const std::unique_ptr<wxConfigBase> profile = OpenProfile(path, readable);
  EXPECT_TRUE(readable);
  profile->Write("/Recent File List/File1", "/home/a/one.tovm");
  EXPECT_FALSE(WriteProfile(*profile));
  EXPECT_EQ(reports.Count(), 0);
  EXPECT_EQ(UnwritableProfileMessage(path),
            "設定ファイルに書き込めませんでした。\n" + path.utf8_string());
}

}  // namespace
}  // namespace tovmar
