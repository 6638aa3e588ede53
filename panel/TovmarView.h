// The control panel: the left pane, a narrow column of buttons under three section labels, two
// picture links and the texture thumbnail. Every command of the program starts here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <wx/bitmap.h>
#include <wx/scrolwin.h>

#include "app/PaneWindow.h"
#include "appearance/WeightHistory.h"
#include "avatar/AvatarScene.h"
#include "mesh/MorphDeformer.h"
#include "panel/DialogUnits.h"
#include "panel/TextureFileWatch.h"

class wxButton;
class wxCheckBox;
class wxToggleButton;

namespace tovmar {

struct AppearanceParam;
class AvatarPartsWindow;
class BitmapFrame;
class CTovmarDoc;
class GLView;
class HPJumpFrame;
class MorphParamDialog;
class SceneStore;
class ShapeEditor;
class StaticFrame;
class TextureObject;

class CTovmarView : public wxScrolledWindow, public PaneWindow {
 public:
  // The form's size in dialog units.
  static constexpr int kFormWidth = 48;
  static constexpr int kFormHeight = 387;

  // The panel's commands act on `scene`, the scene the 3D view shows.
  CTovmarView(wxWindow* parent, CTovmarDoc* doc, SceneStore& scene);

  void OnInitialUpdate() override;
  void OnUpdate(wxView* sender, int hint, wxObject* object) override;

  // The mesh load of control 1002 without its dialog: reads `path` into the document's mesh,
  // rebuilds both mesh objects and clears the thumbnail. `folder` is remembered as the mesh
  // folder (with its trailing separator). A file that cannot be read whole, or that ends before
  // its counts say, shows a message and leaves the mesh, its objects and the thumbnail as they
  // were.
  void LoadMeshFile(const wxString& path, const wxString& folder);

  // The texture load of control 1010 without its dialog: `path` becomes the texture of the
  // visible mesh and the thumbnail; `folder` is remembered as the texture folder either way.
  void LoadTextureFile(const wxString& path, const wxString& folder);

  // Whether the texture's file is watched and read again, without a message, whenever it
  // changes on disk. Kept in the profile; on unless the profile says otherwise. Turning it on
  // watches the current texture's file, turning it off stops watching.
  bool TextureAutoReload() const;
  void SetTextureAutoReload(bool on);
  // The profile's setting of auto-reload, as the panel starts with it.
  static bool TextureAutoReloadInProfile();

  // Reads the appearance file or address `location`, sets the weights it names and rebuilds the
  // visible mesh.
  void LoadAppearance(const wxString& location);

  // Opens the character folder `folder` as a whole avatar: the scene is replaced by every part
  // (the skirt left out) placed by the skeleton, the parts list shows beside the main window with
  // the first part selected, and the document's mesh is the selected part's. A folder that cannot
  // be opened is told in a message naming it and what is wrong, and changes nothing.
  bool OpenAvatarFolder(const wxString& folder);
  // Whether an avatar is open; its parts list (nullptr before the first avatar).
  bool HasAvatar() const { return m_avatar.has_value(); }
  AvatarPartsWindow* PartsWindow() const { return m_partsWindow; }

  // Whether a newly loaded mesh is framed in the 3D view, as F frames it. Kept in the profile;
  // on unless the profile says otherwise. Off, the camera stays where it was.
  bool FrameOnLoad() const { return m_frameOnLoad; }
  void SetFrameOnLoad(bool on);
  static bool FrameOnLoadInProfile();

  // Refuses a command that needs a mesh when none is loaded, with a message.
  bool RequireMesh() const;

  // Opens the 3D view's context menu at `position` (screen coordinates; wxDefaultPosition, as
  // from the keyboard: the view's centre) and runs the command chosen.
  void ShowViewMenu(const wxPoint& position);
  // Runs the context menu's command `id` as choosing it does.
  void RunViewMenuCommand(int id);

  // The shape editor beside the main window, made the first time (nullptr before).
  void OpenShapeEditor();
  ShapeEditor* ShapeEditorWindow() const { return m_shapeEditor; }
  // The meshes whose weights the shape editor shows, with a caption for each: every part of an
  // open avatar in its order, otherwise the loaded mesh; none before a mesh is loaded.
  std::vector<LlmMesh*> ShapeMeshes();
  std::vector<wxString> ShapeCaptions() const;
  // Sets target `target` of mesh `part` of ShapeMeshes() to `weight` (with an avatar, every
  // target of that name in every part, as the avatar shares its weights by name) and shows the
  // new shape at once. The change becomes a step of the history at the next CommitWeights.
  void SetShapeWeight(std::size_t part, std::size_t target, float weight);
  // Sets every weight of every mesh to 0 and shows it, as one step.
  void ResetShapeWeights();
  // Records the weight changes since the last step as one step of the undo history.
  void CommitWeights();
  // Puts back the weights before the last step, or after the step undone last; false when there
  // is none. The views, the morph dialog and the shape editor show them at once.
  bool UndoWeights();
  bool RedoWeights();

  // The form's size, and a rectangle of it, in pixels.
  wxSize FormSizeInPixels() const;
  wxRect FormRect(const DialogRect& rect) const;

  // Scrolling moves the controls to where the scroll position shows them.
  void ScrollWindow(int dx, int dy, const wxRect* rect = nullptr) override;
  void AdjustScrollbars() override;

  wxBitmap m_bmpLightPos;
  MorphParamDialog* m_pMorphDlg = nullptr;
  int m_bTexFit = 0;
  // The deformation kept between slider movements, so that one changed weight recomputes only
  // the vertices its target moves.
  MorphDeformer m_morphs;
  HPJumpFrame* m_link1 = nullptr;
  HPJumpFrame* m_link2 = nullptr;
  StaticFrame* m_labelMesh = nullptr;
  StaticFrame* m_labelTexture = nullptr;
  StaticFrame* m_labelDisplay = nullptr;
  BitmapFrame* m_thumbnail = nullptr;

 private:
  // Undoes or redoes one step of the history (`step`), as UndoWeights and RedoWeights say.
  bool StepWeights(std::optional<WeightSnapshot> (WeightHistory::*step)());
  // Creates a control of the form at `rect` (the panel is not scrolled yet), passing `args`
  // before its position and size.
  template <class Control, class... Args>
  Control* Add(const DialogRect& rect, Args&&... args);
  void CreateControls();
  void FitFrameToForm();
  void OnLoadMesh(wxCommandEvent& event);
  void OnAlwaysOnTop(wxCommandEvent& event);
  void OnPanButton(wxCommandEvent& event);
  void OnLightPos(wxCommandEvent& event);
  void OnLoadTexture(wxCommandEvent& event);
  void OnRefreshTexture(wxCommandEvent& event);
  void OnTexFit(wxCommandEvent& event);
  void OnLoadAvatarSettings(wxCommandEvent& event);
  // Shows the texture object `texture` (none: nothing) in the thumbnail.
  void ShowThumbnail(const TextureObject* texture);
  // Watches the file of the mesh's texture while auto-reload is on, and nothing otherwise.
  void FollowTextureFile();
  // Reads the watched texture file again once it settled after a change.
  void OnTextureFileSettled(const wxString& path);
  // Opens the morph parameter dialog beside the main window, replacing an open one.
  void OnOpenMorphDialog(wxCommandEvent& event);
  void RefreshView3D(bool erase) const;
  // The avatar commands: choosing the folder, choosing a part, and closing the avatar when a
  // single mesh replaces it.
  void OpenAvatarFromDialog();
  void SelectAvatarPart(std::size_t index);
  void CloseAvatar();
  // The store indices of the mesh objects the texture commands act on: the selected part's
  // while an avatar is open, mesh object 0 otherwise.
  std::vector<std::size_t> TextureMeshes() const;
  // Runs `change` on the whole avatar, the selected part's mesh lent back from the document for
  // the while, then deforms every part again from the weights it left.
  template <class Change>
  void ChangeWholeAvatar(Change&& change);
  // After the document mesh's weights changed: every part takes each of its weights by name.
  void SpreadDocumentWeights();
  // An appearance file's records set the weights of every part.
  void ApplyAppearanceToAvatar(std::vector<AppearanceParam>& records);
  // The morph weights of every part, one target per name, as an appearance file.
  void SaveAvatarShape(const std::string& path, const std::string& archetypeName);
  // Deforms the shown meshes from their current weights and repaints the 3D view.
  void ReshapeFromWeights();
  // The morph dialog and the shape editor show the current weights.
  void ShowWeightsEverywhere();
  // Other meshes replaced the shown ones: the history starts again and the editor lists them.
  void ShapesReplaced();
  // After the mesh at `path` was loaded: the caption and the status bar name it, the texture and
  // appearance fields empty, and the view frames it when FrameOnLoad() says so.
  void ShowLoadedMesh(const wxString& path);
  // The caption names `name`; the status bar's mesh field names the document's mesh.
  void ShowInCaption(const wxString& name);
  void ShowMeshStatus();
  // The status bar's texture field for `texture`, and its appearance field for `location`, which
  // set `targets` morph targets.
  void ShowTextureStatus(const TextureObject& texture);
  void ShowAppearanceStatus(const wxString& location, int targets);
  // Sets a field of the main window's status bar (none in a frame without one).
  void SetStatus(int field, const std::string& text);
  // The 3D view, or nullptr while the document has none.
  GLView* View3D() const;
  // The context menu's commands that ask for a file or an address.
  void SaveViewPictureAs();
  void ExportObjAs();
  void SaveShapeAs();
  void LoadAppearanceFromUrl();

  // The open avatar. The selected part's mesh lives in the document while the part is selected
  // (the morph dialog and the mesh commands act on it there); its slot in `avatar` is empty.
  struct ShownAvatar {
    Avatar avatar;
    AvatarPartMeshes meshes;
    std::size_t selected = 0;
  };

  CTovmarDoc* m_doc;
  SceneStore& m_scene;
  std::optional<ShownAvatar> m_avatar;
  AvatarPartsWindow* m_partsWindow = nullptr;
  ShapeEditor* m_shapeEditor = nullptr;
  // The weights' undo history, and the weights as its last step left them.
  WeightHistory m_weightHistory;
  WeightSnapshot m_committedWeights;
  bool m_textureAutoReload = TextureAutoReloadInProfile();
  bool m_frameOnLoad = FrameOnLoadInProfile();
  TextureFileWatch m_textureWatch{[this](const wxString& path) { OnTextureFileSettled(path); }};
  // Each control of the form with its rectangle in pixels, unscrolled.
  std::vector<std::pair<wxWindow*, wxRect>> m_formRects;
};

}  // namespace tovmar
