// The file dialogs speak Japanese: each command's dialog has its own title, the open dialogs'
// patterns match extensions in any case, and the toolkit's texts follow the user's locale.
#include <fnmatch.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include <wx/filedlg.h>
#include <wx/tokenzr.h>

#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "app/FileDialogs.h"
#include "panel/ControlIds.h"
#include "panel/ViewContextMenu.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScriptedFileDialogs.h"

// The few GTK calls that read a real file dialog's title and the labels of its Cancel button; the
// toolkit's headers are not needed for them.
extern "C" {
struct GList {
  void* data;
  GList* next;
  GList* prev;
};
void* gtk_dialog_get_widget_for_response(void* dialog, int response);
GList* gtk_container_get_children(void* container);
void g_list_free(GList* list);
const char* gtk_label_get_text(void* label);
const char* gtk_window_get_title(void* window);
const char* g_type_name_from_instance(void* instance);
}

namespace tovmar {
namespace {

constexpr int kGtkResponseCancel = -6;

// The texts of the labels inside the GTK widget `widget` and its boxes, in order.
std::string LabelsIn(void* widget) {
  const std::string type = g_type_name_from_instance(widget);
  if (type == "GtkLabel") return gtk_label_get_text(widget);
  if (type != "GtkButton" && type != "GtkBox" && type != "GtkAlignment") return "";
  std::string text;
  GList* children = gtk_container_get_children(widget);
  for (GList* child = children; child != nullptr; child = child->next) {
    text += LabelsIn(child->data);
  }
  g_list_free(children);
  return text;
}

TEST(DialogTextsTest, EachDialogHasItsOwnJapaneseTitle) {
  const TestFolder folder("tovmar-dialog-titles");
  ScriptedFileDialogs dialogs;
  const RecordingMessageSink messages;
  dialogs.Choose(WriteBallMesh(folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  const auto menu = [](int id) { return [id] { Panel().RunViewMenuCommand(id); }; };
  const auto frameMenu = [](int id) {
    return [id] {
      wxCommandEvent event(wxEVT_MENU, id);
      Frame().GetEventHandler()->ProcessEvent(event);
    };
  };
  struct Case {
    std::function<void()> open;
    const char* title;
  };
  const std::vector<Case> cases = {
      {[] { Press(IDC_LOAD_MESH); }, "LLM メッシュを開く"},
      {[] { Press(IDC_LOAD_TEXTURE); }, "テクスチャを開く"},
      {[] { Press(IDC_LOAD_AVATAR); }, "Avatar 設定を開く"},
      {menu(ID_VIEW_SAVE_PICTURE), "画像を保存"},
      {menu(ID_VIEW_EXPORT_OBJ), "OBJ 形式で書き出し"},
      {menu(ID_VIEW_SAVE_SHAPE), "形状を保存"},
      {menu(ID_VIEW_OPEN_AVATAR), "アバターのフォルダを開く"},
      {frameMenu(ID_FILE_OPEN), "ドキュメントを開く"},
      {frameMenu(ID_FILE_SAVE), "ドキュメントを保存"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    dialogs.Cancel();
    c.open();
    ASSERT_FALSE(dialogs.requests.empty());
    EXPECT_EQ(dialogs.requests.back().title, wxString::FromUTF8(c.title));
    dialogs.requests.clear();
  }
}

// Whether GTK would show `name` under the wxFileDialog filter `filter`: its patterns are
// compared case-sensitively, as fnmatch compares them.
bool Shows(const wxString& filter, int entry, const std::string& name) {
  const wxArrayString fields = wxSplit(filter, '|', '\0');
  wxStringTokenizer patterns(fields[2 * entry + 1], ";");
  while (patterns.HasMoreTokens()) {
    if (fnmatch(patterns.GetNextToken().utf8_string().c_str(), name.c_str(), 0) == 0) return true;
  }
  return false;
}

TEST(DialogTextsTest, OpenFiltersMatchEveryPictureKindInAnyCase) {
  const wxString filter = WxFilter(
      wxString::FromUTF8("画像ファイル(*.tga;*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff)|"
                         "*.tga;*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff|全て(*.*)|*.*||"),
      true);
  struct Case {
    const char* name;
    bool shown;
  };
  const std::vector<Case> cases = {
      {"a.png", true}, {"B.PNG", true},  {"c.Jpeg", true}, {"d.JPG", true},
      {"e.gif", true}, {"f.TIF", true},  {"g.tiff", true}, {"h.Bmp", true},
      {"i.TGA", true}, {"j.txt", false}, {"png", false},   {"k.png.txt", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Shows(filter, 0, c.name), c.shown) << c.name;
  }
  // The names stay as written; the save dialogs keep plain patterns.
  EXPECT_TRUE(filter.StartsWith(wxString::FromUTF8("画像ファイル(*.tga;")));
  EXPECT_EQ(WxFilter("PNG(*.png)|*.png||"), "PNG(*.png)|*.png");
}

// The program takes the user's locale for the toolkit's texts; numbers keep the "C" form.
TEST(DialogTextsTest, TheUsersLocaleIsTakenButNumbersKeepTheCForm) {
  const char* lang = std::getenv("LC_ALL");
  if (lang == nullptr || *lang == '\0') lang = std::getenv("LC_MESSAGES");
  if (lang == nullptr || *lang == '\0') lang = std::getenv("LANG");
  if (lang == nullptr || std::string(lang).rfind("ja_JP", 0) != 0) {
    GTEST_SKIP() << "run with LANG=ja_JP.UTF-8 to check the locale";
  }
  if (std::setlocale(LC_MESSAGES, nullptr) == std::string("C")) {
    GTEST_SKIP() << "the locale " << lang << " is not installed";
  }
  EXPECT_EQ(std::string(std::setlocale(LC_MESSAGES, nullptr)).rfind("ja_JP", 0), 0u);
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  // The toolkit's own dialog: the title the program gives, GTK's own Japanese Cancel button.
  wxFileDialog dialog(&Frame(), wxString::FromUTF8("テクスチャを開く"), "", "", "*.png", wxFD_OPEN);
  EXPECT_STREQ(gtk_window_get_title(dialog.GetHandle()), "テクスチャを開く");
  void* cancel = gtk_dialog_get_widget_for_response(dialog.GetHandle(), kGtkResponseCancel);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(LabelsIn(cancel).rfind("キャンセル", 0), 0u) << LabelsIn(cancel);
}

}  // namespace
}  // namespace tovmar
