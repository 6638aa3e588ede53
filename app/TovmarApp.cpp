#include "app/TovmarApp.h"

#include <wx/cmdline.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/RecentFiles.h"
#include "app/ShellRegistration.h"
#include "app/TovmarDoc.h"
#include "mesh/SceneStore.h"
#include "panel/TovmarView.h"
#include "texture/ImageConverter.h"

namespace tovmar {

namespace {
const char kVendor[] = "アプリケーション ウィザードで生成されたローカル アプリケーション";
}  // namespace

void CTovmarApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  for (const CommandLineOption& option : StartupOptions()) {
    parser.AddOption("", option.name, option.description, wxCMD_LINE_VAL_STRING);
  }
  parser.AddParam(kDocumentArgument.name, wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CTovmarApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  if (!wxApp::OnCmdLineParsed(parser)) return false;
  parser.Found("mesh", &m_meshArg);
  parser.Found("texture", &m_textureArg);
  parser.Found("appearance", &m_appearanceArg);
  if (parser.GetParamCount() > 0) m_documentArg = parser.GetParam(0);
  return true;
}

bool CTovmarApp::OnInit() {
  // The profile lives in the user's configuration folder (the registry on Windows).
  SetVendorName(wxString::FromUTF8(kVendor));
  SetAppName("Tovmar");
  wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
  wxString profileFile;
#ifndef __WXMSW__
  // Tovmar/Tovmar.conf in $XDG_CONFIG_HOME (~/.config): wxWidgets 3.2 would put a profile kept
  // in a folder of its own into the dot-folder ~/.Tovmar. The folder must exist before the
  // profile is first written.
  wxFileName profile(wxStandardPaths::Get().GetUserConfigDir(), "Tovmar.conf");
  profile.AppendDir("Tovmar");
  wxFileName::Mkdir(profile.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  profileFile = profile.GetFullPath();
#endif
  wxConfigBase::Set(
      new wxConfig("Tovmar", GetVendorName(), profileFile, wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
  if (!wxApp::OnInit()) return false;

  InstallImageConverter(&m_imageConverter);
  InstallMessageSink(&m_messages);
  SceneStore::Instance().SetRenderBinding(&m_renderBinding);
  RecentFiles::Load();
  RegisterDocumentTypeForUser();

  // The single document type; the document is created once and reused by New and Open.
  m_docManager = std::make_unique<wxDocManager>();
  auto* docTemplate = new wxDocTemplate(m_docManager.get(), "Tovmar Files (*.tovm)", "*.tovm",
                                        wxEmptyString, "tovm", "Tovmar.Document", "Tovmar.Document",
                                        CLASSINFO(CTovmarDoc), nullptr);
  m_doc = dynamic_cast<CTovmarDoc*>(docTemplate->CreateDocument(wxEmptyString, wxDOC_NEW));
  if (m_doc == nullptr) return false;
  m_doc->SetTitle("Untitled");

  m_frame = new CMainFrame(m_docManager.get(), m_doc);
  SetTopWindow(m_frame);
  m_frame->UpdateCaption();
  m_doc->InitialUpdateAllPanes();
  if (!m_documentArg.empty() && !m_frame->OpenDocument(m_documentArg)) return false;
  m_frame->Show();
  m_frame->DragAcceptFiles(true);
  ApplyStartupOptions();
  return true;
}

void CTovmarApp::ApplyStartupOptions() {
  CTovmarView* panel = m_frame->Panel();
  const auto absolute = [](const wxString& path) { return wxFileName(path).GetAbsolutePath(); };
  if (!m_meshArg.empty()) {
    const wxFileName mesh(absolute(m_meshArg));
    panel->LoadMeshFile(mesh.GetFullPath(), mesh.GetPathWithSep());
  }
  // Like the buttons, these need a mesh first and say so when there is none.
  if (!m_textureArg.empty() && panel->RequireMesh()) {
    const wxFileName texture(absolute(m_textureArg));
    panel->LoadTextureFile(texture.GetFullPath(), texture.GetPathWithSep());
  }
  if (!m_appearanceArg.empty() && panel->RequireMesh()) {
    const bool remote =
        m_appearanceArg.StartsWith("http://") || m_appearanceArg.StartsWith("https://");
    panel->LoadAppearance(remote ? m_appearanceArg : absolute(m_appearanceArg));
  }
}

int CTovmarApp::OnExit() {
  RecentFiles::Save();
  delete wxConfigBase::Set(nullptr);
  // The contexts go before the toolkit does; the store's own teardown then finds none.
  SceneStore::Instance().ReleaseContexts();
  SceneStore::Instance().SetRenderBinding(nullptr);
  InstallMessageSink(nullptr);
  InstallImageConverter(nullptr);
  return wxApp::OnExit();
}

}  // namespace tovmar
