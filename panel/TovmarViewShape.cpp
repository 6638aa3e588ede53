// The panel's side of the shape editor: the meshes it shows, weights set from it, and the undo
// history that the editor, the morph dialog and appearance files share.
#include <utility>

#include <wx/filename.h>

#include "app/FileNames.h"
#include "app/TovmarDoc.h"
#include "appearance/window/MorphParamDialog.h"
#include "base/Text.h"
#include "mesh/SceneStore.h"
#include "panel/AvatarPartsWindow.h"
#include "panel/ShapeEditor.h"
#include "panel/TovmarView.h"

namespace tovmar {

namespace {

std::vector<const LlmMesh*> ReadOnly(const std::vector<LlmMesh*>& meshes) {
  return {meshes.begin(), meshes.end()};
}

}  // namespace

void CTovmarView::OpenShapeEditor() {
  if (m_shapeEditor == nullptr) {
    m_shapeEditor = new ShapeEditor(wxGetTopLevelParent(this), *this);
  }
  m_shapeEditor->ShowBesideMainWindow();
}

std::vector<LlmMesh*> CTovmarView::ShapeMeshes() {
  if (!m_avatar) {
    if (m_scene.GetMesh(0) == nullptr) return {};
    return {&m_doc->m_mesh};
  }
  // The selected part's mesh is lent to the document while it is selected.
  std::vector<LlmMesh*> meshes;
  for (std::size_t p = 0; p < m_avatar->avatar.parts.size(); ++p) {
    meshes.push_back(p == m_avatar->selected ? &m_doc->m_mesh : &m_avatar->avatar.parts[p].mesh);
  }
  return meshes;
}

std::vector<wxString> CTovmarView::ShapeCaptions() const {
  if (!m_avatar) {
    if (m_scene.GetMesh(0) == nullptr) return {};
    return {wxFileName(WxPath(m_doc->m_mesh.path)).GetFullName()};
  }
  std::vector<wxString> captions;
  for (const AvatarPart& part : m_avatar->avatar.parts) {
    captions.push_back(AvatarPartCaption(part.kind));
  }
  return captions;
}

void CTovmarView::SetShapeWeight(std::size_t part, std::size_t target, float weight) {
  const std::vector<LlmMesh*> meshes = ShapeMeshes();
  if (part >= meshes.size() || target >= meshes[part]->morphTargets.size()) return;
  if (!m_avatar) {
    meshes[part]->morphTargets[target].weight = weight;
  } else {
    const std::string key = LowerAscii(meshes[part]->morphTargets[target].DisplayName());
    for (LlmMesh* mesh : meshes) {
      for (MorphTarget& each : mesh->morphTargets) {
        if (LowerAscii(each.DisplayName()) == key) each.weight = weight;
      }
    }
  }
  ReshapeFromWeights();
  if (m_pMorphDlg != nullptr) m_pMorphDlg->ShowWeights();
}

void CTovmarView::ResetShapeWeights() {
  CommitWeights();
  for (LlmMesh* mesh : ShapeMeshes()) {
    for (MorphTarget& target : mesh->morphTargets) target.weight = 0.0f;
  }
  ReshapeFromWeights();
  CommitWeights();
  ShowWeightsEverywhere();
}

void CTovmarView::CommitWeights() {
  WeightSnapshot now = TakeWeights(ReadOnly(ShapeMeshes()));
  m_weightHistory.Record(m_committedWeights, now);
  m_committedWeights = std::move(now);
}

bool CTovmarView::UndoWeights() {
  return StepWeights(&WeightHistory::Undo);
}

bool CTovmarView::RedoWeights() {
  return StepWeights(&WeightHistory::Redo);
}

bool CTovmarView::StepWeights(std::optional<WeightSnapshot> (WeightHistory::*step)()) {
  // Changes of the morph dialog still open are undone as a step of their own.
  CommitWeights();
  const std::optional<WeightSnapshot> weights = (m_weightHistory.*step)();
  if (!weights) return false;
  PutWeights(*weights, ShapeMeshes());
  m_committedWeights = TakeWeights(ReadOnly(ShapeMeshes()));
  ReshapeFromWeights();
  ShowWeightsEverywhere();
  return true;
}

void CTovmarView::ReshapeFromWeights() {
  if (m_avatar) {
    LlmMesh& slot = m_avatar->avatar.parts[m_avatar->selected].mesh;
    std::swap(m_doc->m_mesh, slot);
    ReshapeAvatar(m_avatar->avatar, m_avatar->meshes, m_scene);
    std::swap(m_doc->m_mesh, slot);
  } else {
    // Only the vertices of the targets whose weight changed are deformed again.
    m_morphs.Apply(m_doc->m_mesh, m_scene, m_bTexFit != 0);
  }
  RefreshView3D(false);
}

void CTovmarView::ShowWeightsEverywhere() {
  if (m_pMorphDlg != nullptr) m_pMorphDlg->ShowWeights();
  if (m_shapeEditor != nullptr) m_shapeEditor->ShowWeights();
}

void CTovmarView::ShapesReplaced() {
  m_weightHistory.Clear();
  m_committedWeights = TakeWeights(ReadOnly(ShapeMeshes()));
  if (m_shapeEditor != nullptr) m_shapeEditor->Rebuild();
}

}  // namespace tovmar
