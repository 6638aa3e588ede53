// The panel's appearance command (1018): an appearance file sets the morph weights it names.
#include <wx/utils.h>

#include <string>
#include <vector>

#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/TovmarDoc.h"
#include "appearance/LoadAppearance.h"
#include "appearance/ShapeParams.h"
#include "appearance/window/MorphParamDialog.h"
#include "base/Location.h"
#include "base/MessageSink.h"
#include "mesh/SceneStore.h"
#include "panel/FetchMessages.h"
#include "panel/FetchProgressWindow.h"
#include "panel/TovmarView.h"
#include "panel/ViewPrompts.h"

namespace tovmar {

namespace {
const char kAppearanceFilter[] = "Appearance XML(*.xml)|*.xml|全て(*.*)|*.*||";
}  // namespace

void CTovmarView::OnLoadAvatarSettings(wxCommandEvent&) {
  if (!RequireMesh()) return;
  const auto answer =
      AskExistingFile(this, wxString::FromUTF8(kAppearanceFilter), "new archetype.xml",
                      m_doc->GetMeshFolder(), "Avatar 設定を開く");
  if (!answer || answer->path.empty()) return;
  LoadAppearance(answer->path);
  m_doc->SetMeshFolder(FolderOf(*answer));
}

void CTovmarView::LoadAppearance(const wxString& location) {
  // Changes of the morph dialog still open are a step of their own before the file's.
  CommitWeights();
  {
    // A remote location may take a while; the window shows that it is waiting, and after a
    // moment how far it has got, with a way out.
    wxBusyCursor busy;
    FetchProgressWindow progress(this, location);
    std::vector<AppearanceParam> records;
    // With an avatar open the document's mesh is one part of it: the file is read onto that part
    // aside, and its records then shape every part.
    SceneStore aside;
    const std::string path = CorePath(location);
    AppearanceLoadOutcome outcome;
    // A file of several archetypes (as the world's client writes them) asks which to apply.
    const auto choose = [this](const std::vector<std::string>& names) {
      wxBusyCursorSuspender notBusy;
      std::vector<wxString> shown;
      for (const std::string& name : names) shown.push_back(wxString::FromUTF8(name));
      return CurrentViewPrompts().AskArchetype(this, shown);
    };
    if (!tovmar::LoadAppearance(path, m_doc->m_mesh, m_avatar ? aside : m_scene, m_bTexFit != 0,
                                progress.Callback(), &records, &outcome, choose)) {
      // A local file without parameters, or an archetype not chosen, changes nothing, silently;
      // an address names what it got.
      if (outcome.declined) return;
      if (outcome.fetched.status != FetchStatus::kLoaded) {
        if (const auto message = FetchFailureMessage(path, outcome.fetched)) ShowMessage(*message);
      } else if (IsRemoteLocation(path)) {
        ShowMessage(NotAppearanceMessage(path));
      }
      return;
    }
    if (m_avatar) ApplyAppearanceToAvatar(records);
    RememberAppearanceIds(records, m_doc->m_appearanceIds);
    ShowAppearanceStatus(location, outcome.targetsSet);
  }
  // The new shape shows at once rather than at the next repaint, the new weights beside the
  // morph dialog's sliders and in the shape editor; the file's weights are one step.
  CommitWeights();
  ShowWeightsEverywhere();
  RefreshView3D(false);
}

}  // namespace tovmar
