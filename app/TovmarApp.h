// The application object: start-up, the one document, the main frame and the start-up options.
#pragma once

#include <memory>

#include <wx/app.h>
#include <wx/docview.h>

#include "app/CommandLineInfo.h"
#include "app/WxMessageSink.h"
#include "mesh/SceneStore.h"
#include "render/window/WxRenderBinding.h"
#include "texture/PictureConverter.h"

namespace tovmar {

class CMainFrame;
class CTovmarDoc;

class CTovmarApp : public wxApp {
 public:
  bool OnInit() override;
  int OnExit() override;
  void OnInitCmdLine(wxCmdLineParser& parser) override;
  bool OnCmdLineParsed(wxCmdLineParser& parser) override;

  CMainFrame* MainFrame() const { return m_frame; }
  CTovmarDoc* Document() const { return m_doc; }
  // The scene the windows show: the program's store, which the application hands to the panel,
  // the 3D view and their commands.
  SceneStore& Scene() const { return m_scene; }

  // The start-up options' file names, taken from the command line before the toolkit parses it;
  // the application loads them once its window is up.
  static void SetStartupPaths(StartupPaths paths);

  // Loads what `paths` name, as the panel's buttons would without their dialogs.
  void ApplyStartupPaths(const StartupPaths& paths);

 private:
  SceneStore& m_scene = SceneStore::Instance();
  std::unique_ptr<wxDocManager> m_docManager;
  CTovmarDoc* m_doc = nullptr;
  CMainFrame* m_frame = nullptr;
  WxMessageSink m_messages;
  WxRenderBinding m_renderBinding;
  PictureConverter m_imageConverter;
  wxString m_documentArg;
  bool m_fitArg = false;
};

}  // namespace tovmar
