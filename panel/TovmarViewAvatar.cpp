// The panel's avatar commands: a character folder opened as a whole avatar, its parts list, and
// how the mesh commands reach every part while it is open.
#include <filesystem>
#include <string>
#include <utility>

#include <wx/filename.h>
#include <wx/utils.h>

#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/TovmarDoc.h"
#include "appearance/AppearanceParam.h"
#include "appearance/window/MorphParamDialog.h"
#include "avatar/AvatarLoader.h"
#include "avatar/SkeletonReader.h"
#include "base/FileBytes.h"
#include "base/MessageSink.h"
#include "mesh/SceneStore.h"
#include "panel/AvatarPartsWindow.h"
#include "panel/BitmapFrame.h"
#include "panel/StatusTexts.h"
#include "panel/TovmarView.h"
#include "panel/ViewExports.h"
#include "render/window/GLView.h"

namespace tovmar {

namespace {

// What is wrong with the character folder `folder` that did not open, in Japanese.
std::string WhyNoAvatar(const std::string& folder) {
  const std::filesystem::path dir = PathFromUtf8(folder);
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return "フォルダがありません。";
  const std::filesystem::path skeleton = dir / kSkeletonFileName;
  if (!std::filesystem::exists(skeleton, ec)) {
    return std::string(kSkeletonFileName) + " がありません。";
  }
  if (!ReadSkeletonFile(PathToUtf8(skeleton)).ok) {
    return std::string(kSkeletonFileName) + " が読み込めません。";
  }
  return "読み込めるパーツのファイル (avatar_head.llm など) がありません。";
}

// The message for the part files of `folder` that are there but did not become parts of
// `avatar`, each named on a line of its own.
std::string LeftOutParts(const std::string& folder, const Avatar& avatar) {
  std::string text = "次のパーツは読み込めなかったため表示しません。";
  std::error_code ec;
  for (const AvatarPartKind kind : kAvatarPartKinds) {
    const std::string file = AvatarPartFileName(kind);
    if (kind != AvatarPartKind::kSkirt && avatar.FindPart(kind) == nullptr &&
        std::filesystem::exists(PathFromUtf8(folder) / file, ec)) {
      text += "\n" + file;
    }
  }
  return text;
}

}  // namespace

void CTovmarView::OpenAvatarFromDialog() {
  const std::optional<wxString> folder =
      AskExistingFolder(this, m_doc->GetMeshFolder(), "アバターのフォルダを開く");
  if (folder && !folder->empty()) OpenAvatarFolder(*folder);
}

bool CTovmarView::OpenAvatarFolder(const wxString& folder) {
  const std::string path = CorePath(folder);
  AvatarLoadResult loaded;
  {
    wxBusyCursor busy;
    loaded = LoadAvatarFolder(path, AvatarLoadOptions{});
  }
  if (!loaded.ok) {
    ShowMessage("アバターのフォルダ「" + path + "」を開けませんでした。\n" + WhyNoAvatar(path));
    return false;
  }
  if (!loaded.warnings.empty()) ShowMessage(LeftOutParts(path, loaded.avatar));
  ShownAvatar shown;
  shown.avatar = std::move(loaded.avatar);
  shown.meshes = PlaceAvatar(shown.avatar, m_scene);
  m_doc->m_mesh = std::move(shown.avatar.parts.front().mesh);
  shown.avatar.parts.front().mesh = LlmMesh();
  m_doc->m_appearanceIds.clear();
  m_doc->SetMeshFolder(folder.EndsWith(wxFILE_SEP_PATH) ? folder : folder + wxFILE_SEP_PATH);
  m_avatar = std::move(shown);

  std::vector<AvatarPartKind> kinds;
  for (const AvatarPart& part : m_avatar->avatar.parts) kinds.push_back(part.kind);
  if (m_partsWindow == nullptr) {
    m_partsWindow = new AvatarPartsWindow(wxGetTopLevelParent(this),
                                          [this](std::size_t index) { SelectAvatarPart(index); });
  }
  m_partsWindow->ShowParts(kinds, 0);
  FollowTextureFile();
  if (m_pMorphDlg != nullptr) m_pMorphDlg->Rebuild(&m_doc->m_mesh);
  ShapesReplaced();
  m_thumbnail->Clear();
  m_thumbnail->Refresh(false);
  ShowInCaption(
      wxFileName(folder.EndsWith(wxFILE_SEP_PATH) ? folder.Left(folder.length() - 1) : folder)
          .GetFullName());
  ShowMeshStatus();
  SetStatus(kStatusTexture, "");
  SetStatus(kStatusAppearance, "");
  if (GLView* view = View3D(); view != nullptr && m_frameOnLoad) view->FrameModel();
  RefreshView3D(false);
  return true;
}

void CTovmarView::SelectAvatarPart(std::size_t index) {
  if (!m_avatar || index >= m_avatar->avatar.parts.size() || index == m_avatar->selected) return;
  std::swap(m_doc->m_mesh, m_avatar->avatar.parts[m_avatar->selected].mesh);
  std::swap(m_doc->m_mesh, m_avatar->avatar.parts[index].mesh);
  m_avatar->selected = index;
  const MeshObject* mesh = m_scene.GetMesh(m_avatar->meshes[index].front());
  const TextureObject* texture =
      mesh != nullptr ? m_scene.FindTexture(mesh->GetTextureId()) : nullptr;
  ShowMeshStatus();
  if (texture != nullptr) {
    ShowThumbnail(texture);
  } else {
    m_thumbnail->Clear();
    m_thumbnail->Refresh(false);
    SetStatus(kStatusTexture, "");
  }
  FollowTextureFile();
  if (m_pMorphDlg != nullptr) m_pMorphDlg->Rebuild(&m_doc->m_mesh);
}

void CTovmarView::CloseAvatar() {
  m_avatar.reset();
  if (m_partsWindow != nullptr) m_partsWindow->Hide();
}

std::vector<std::size_t> CTovmarView::TextureMeshes() const {
  if (!m_avatar) return {0};
  return m_avatar->meshes[m_avatar->selected];
}

template <class Change>
void CTovmarView::ChangeWholeAvatar(Change&& change) {
  LlmMesh& slot = m_avatar->avatar.parts[m_avatar->selected].mesh;
  std::swap(m_doc->m_mesh, slot);
  change(m_avatar->avatar);
  ReshapeAvatar(m_avatar->avatar, m_avatar->meshes, m_scene);
  std::swap(m_doc->m_mesh, slot);
}

void CTovmarView::SpreadDocumentWeights() {
  const std::size_t selected = m_avatar->selected;
  ChangeWholeAvatar([selected](Avatar& avatar) {
    // The names and weights are taken first: setting them reaches the selected part's own targets.
    std::vector<std::pair<std::string, float>> weights;
    for (const MorphTarget& target : avatar.parts[selected].mesh.morphTargets) {
      weights.emplace_back(target.DisplayName(), target.weight);
    }
    for (const auto& [name, weight] : weights) avatar.SetMorphWeight(name, weight);
  });
}

void CTovmarView::ApplyAppearanceToAvatar(std::vector<AppearanceParam>& records) {
  ChangeWholeAvatar([&records](Avatar& avatar) { avatar.ApplyAppearanceParams(records); });
}

void CTovmarView::SaveAvatarShape(const std::string& path, const std::string& archetypeName) {
  // One target per name: the parts share their weights by name.
  LlmMesh shape;
  const auto take = [&shape](const LlmMesh& mesh) {
    for (const MorphTarget& target : mesh.morphTargets) {
      if (shape.FindMorphTarget(target.DisplayName()) == nullptr) {
        shape.morphTargets.push_back(target);
      }
    }
  };
  for (std::size_t p = 0; p < m_avatar->avatar.parts.size(); ++p) {
    take(p == m_avatar->selected ? m_doc->m_mesh : m_avatar->avatar.parts[p].mesh);
  }
  SaveShapeFile(shape, m_doc->m_appearanceIds, path, archetypeName);
}

}  // namespace tovmar
