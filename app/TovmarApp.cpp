#include "app/TovmarApp.h"

#include <clocale>
#include <filesystem>

#include <wx/cmdline.h>
#include <wx/config.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/uilocale.h>

#include "app/CommandLineInfo.h"
#include "app/FileNames.h"
#include "app/MainFrame.h"
#include "app/Profile.h"
#include "app/RecentFiles.h"
#include "app/ShellRegistration.h"
#include "app/TovmarDoc.h"
#include "base/FileBytes.h"
#include "base/Location.h"
#include "base/MessageSink.h"
#include "panel/TovmarView.h"
#include "render/window/GLView.h"
#include "texture/ImageConverter.h"

namespace tovmar {

namespace {
const char kVendor[] = "アプリケーション ウィザードで生成されたローカル アプリケーション";

StartupPaths g_startupPaths;

// `path` made absolute against the working folder, with "." and ".." taken out.
std::filesystem::path Absolute(const std::string& path) {
  return std::filesystem::absolute(PathFromUtf8(path)).lexically_normal();
}

// The folder of `path` with its trailing separator, as the open dialogs report folders.
wxString FolderWithSeparator(const std::filesystem::path& path) {
  return WxPath(PathToUtf8(path.parent_path() / ""));
}
}  // namespace

void CTovmarApp::SetStartupPaths(StartupPaths paths) {
  g_startupPaths = std::move(paths);
}

void CTovmarApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  for (const CommandLineOption& option : StartupOptions()) {
    parser.AddOption("", option.name, option.description, wxCMD_LINE_VAL_STRING);
  }
  parser.AddSwitch("", kFitSwitch.name, kFitSwitch.description);
  parser.AddParam(kDocumentArgument.name, wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CTovmarApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  if (!wxApp::OnCmdLineParsed(parser)) return false;
  m_fitArg = parser.Found(kFitSwitch.name);
  if (parser.GetParamCount() > 0) m_documentArg = parser.GetParam(0);
  return true;
}

bool CTovmarApp::OnInit() {
  // The user's locale, so that the toolkit's own texts (the dialogs' buttons, their questions)
  // speak the user's language; the toolkit leaves that to the program. Numbers keep the "C"
  // locale's form: files written by the program read the same everywhere.
  wxUILocale::UseDefault();
  std::setlocale(LC_NUMERIC, "C");
  // The profile lives in the user's configuration folder (the registry on Windows).
  SetVendorName(wxString::FromUTF8(kVendor));
  SetAppName("Tovmar");
  wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
  bool profileReadable = true;
  wxConfigBase::Set(OpenProfile(ProfilePath(), profileReadable).release());
  if (!wxApp::OnInit()) return false;

  InstallImageConverter(&m_imageConverter);
  InstallMessageSink(&m_messages);
  m_scene.SetRenderBinding(&m_renderBinding);
  RecentFiles::Load();
  RegisterFileTypesForUser();

  // The single document type; the document is created once and reused by New and Open.
  m_docManager = std::make_unique<wxDocManager>();
  auto* docTemplate = new wxDocTemplate(m_docManager.get(), "Tovmar Files (*.tovm)", "*.tovm",
                                        wxEmptyString, "tovm", "Tovmar.Document", "Tovmar.Document",
                                        CLASSINFO(CTovmarDoc), nullptr);
  m_doc = dynamic_cast<CTovmarDoc*>(docTemplate->CreateDocument(wxEmptyString, wxDOC_NEW));
  if (m_doc == nullptr) return false;
  m_doc->SetTitle(wxString::FromUTF8(CMainFrame::kUntitled));

  m_frame = new CMainFrame(m_docManager.get(), m_doc, m_scene);
  SetTopWindow(m_frame);
  m_frame->UpdateCaption();
  m_doc->InitialUpdateAllPanes();
  // A document that cannot be opened is reported, and the program starts without it; a mesh,
  // picture or appearance file given instead loads as a dropped one does.
  if (!m_documentArg.empty()) m_frame->OpenDroppedFile(m_documentArg);
  m_frame->Show();
  m_frame->DragAcceptFiles(true);
  if (!profileReadable) ShowMessage(UnreadableProfileMessage(ProfilePath()));
  ApplyStartupPaths(g_startupPaths);
  if (m_fitArg) m_frame->View3D()->FrameModel();
  return true;
}

void CTovmarApp::ApplyStartupPaths(const StartupPaths& paths) {
  CTovmarView* panel = m_frame->Panel();
  if (!paths.mesh.empty()) {
    const std::filesystem::path mesh = Absolute(paths.mesh);
    panel->LoadMeshFile(WxPath(PathToUtf8(mesh)), FolderWithSeparator(mesh));
  }
  // An avatar replaces the mesh; a texture then goes on its first part.
  if (!paths.avatar.empty()) panel->OpenAvatarFolder(WxPath(PathToUtf8(Absolute(paths.avatar))));
  // Like the buttons, these need a mesh first and say so when there is none.
  if (!paths.texture.empty() && panel->RequireMesh()) {
    const std::filesystem::path texture = Absolute(paths.texture);
    panel->LoadTextureFile(WxPath(PathToUtf8(texture)), FolderWithSeparator(texture));
  }
  if (!paths.appearance.empty() && panel->RequireMesh()) {
    const bool remote = IsRemoteLocation(paths.appearance);
    panel->LoadAppearance(
        WxPath(remote ? paths.appearance : PathToUtf8(Absolute(paths.appearance))));
  }
}

int CTovmarApp::OnExit() {
  // A profile that could not be written was reported when the window closed.
  {
    wxLogNull quiet;
    RecentFiles::Save();
    delete wxConfigBase::Set(nullptr);
  }
  // The contexts go before the toolkit does; the store's own teardown then finds none.
  m_scene.ReleaseContexts();
  m_scene.SetRenderBinding(nullptr);
  InstallMessageSink(nullptr);
  InstallImageConverter(nullptr);
  return wxApp::OnExit();
}

}  // namespace tovmar
