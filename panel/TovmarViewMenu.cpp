// The 3D view's context menu: framing the model, saving the picture, the shaped mesh and the
// shape, reading an appearance file from a web address, and whether the texture follows its file.
#include <optional>
#include <string>

#include <wx/filename.h>
#include <wx/menu.h>

#include "app/AddressPrompt.h"
#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/RecentUrls.h"
#include "app/TovmarDoc.h"
#include "base/Location.h"
#include "base/MessageSink.h"
#include "mesh/MeshObject.h"
#include "mesh/SceneStore.h"
#include "mesh/TextureObject.h"
#include "panel/TovmarView.h"
#include "panel/ViewContextMenu.h"
#include "panel/ViewExports.h"
#include "panel/ViewPrompts.h"
#include "render/window/GLView.h"

namespace tovmar {

namespace {

const char kPictureFilter[] = "PNG 画像(*.png)|*.png||";
const char kObjFilter[] = "Wavefront OBJ(*.obj)|*.obj||";
const char kShapeFilter[] = "Appearance XML(*.xml)|*.xml||";

// The path, for the core, of the file to save from `doc`'s mesh, asked in the save dialog of
// `parent` under the caption `title`: the dialog proposes the mesh's own name with `extension`.
std::optional<std::string> AskSavePath(wxWindow* parent, const CTovmarDoc& doc, const char* filter,
                                       const char* extension, const char* title) {
  const wxString meshName = wxFileName(WxPath(doc.m_mesh.path)).GetName();
  const auto answer = AskNewFile(parent, wxString::FromUTF8(filter), extension, doc.GetMeshFolder(),
                                 meshName, title);
  if (!answer) return std::nullopt;
  return CorePath(answer->path);
}

}  // namespace

void CTovmarView::ShowViewMenu(const wxPoint& position) {
  GLView* view = View3D();
  if (view == nullptr) return;
  const std::unique_ptr<wxMenu> menu =
      BuildViewContextMenu({m_scene.GetMesh(0) != nullptr, TextureAutoReload(), FrameOnLoad()});
  const wxSize size = view->GetClientSize();
  const wxPoint at = position == wxDefaultPosition ? wxPoint(size.x / 2, size.y / 2)
                                                   : view->ScreenToClient(position);
  const int id = view->GetPopupMenuSelectionFromUser(*menu, at);
  if (id != wxID_NONE) RunViewMenuCommand(id);
}

void CTovmarView::RunViewMenuCommand(int id) {
  switch (id) {
    case ID_VIEW_FRAME_MODEL:
      if (GLView* view = View3D()) view->FrameModel();
      break;
    case ID_VIEW_SAVE_PICTURE:
      SaveViewPictureAs();
      break;
    case ID_VIEW_EXPORT_OBJ:
      ExportObjAs();
      break;
    case ID_VIEW_SAVE_SHAPE:
      SaveShapeAs();
      break;
    case ID_VIEW_LOAD_URL:
      LoadAppearanceFromUrl();
      break;
    case ID_VIEW_OPEN_AVATAR:
      OpenAvatarFromDialog();
      break;
    case ID_VIEW_SHAPE_EDITOR:
      OpenShapeEditor();
      break;
    case ID_VIEW_TEXTURE_AUTO_RELOAD:
      SetTextureAutoReload(!TextureAutoReload());
      break;
    case ID_VIEW_FRAME_ON_LOAD:
      SetFrameOnLoad(!FrameOnLoad());
      break;
    default:
      break;
  }
}

void CTovmarView::SaveViewPictureAs() {
  GLView* view = View3D();
  if (view == nullptr || !RequireMesh()) return;
  if (const auto path = AskSavePath(this, *m_doc, kPictureFilter, "png", "画像を保存"))
    SaveViewPicture(*view, *path);
}

void CTovmarView::ExportObjAs() {
  if (!RequireMesh()) return;
  const auto path = AskSavePath(this, *m_doc, kObjFilter, "obj", "OBJ 形式で書き出し");
  if (!path) return;
  // A loaded texture goes into a material file beside the OBJ file.
  const MeshObject* object = m_scene.GetMesh(TextureMeshes().front());
  const TextureObject* texture =
      object != nullptr ? m_scene.FindTexture(object->GetTextureId()) : nullptr;
  ExportShapedObj(m_doc->m_mesh, object, *path, texture != nullptr ? texture->sourcePath : "");
}

void CTovmarView::SaveShapeAs() {
  if (!RequireMesh()) return;
  const auto path = AskSavePath(this, *m_doc, kShapeFilter, "xml", "形状を保存");
  if (!path) return;
  // The archetype's name, by default the file's.
  const std::optional<wxString> name =
      CurrentViewPrompts().AskShapeName(this, wxFileName(WxPath(*path)).GetName());
  if (!name) return;
  if (m_avatar) {
    SaveAvatarShape(*path, name->utf8_string());
  } else {
    SaveShapeFile(m_doc->m_mesh, m_doc->m_appearanceIds, *path, name->utf8_string());
  }
}

void CTovmarView::LoadAppearanceFromUrl() {
  if (!RequireMesh()) return;
  const std::optional<wxString> url = CurrentAddressPrompt().AskAddress(this, RecentUrls::Load());
  if (!url || url->empty()) return;
  if (!IsRemoteLocation(url->utf8_string())) {
    ShowMessage("http:// または https:// で始まるアドレスを入力して下さい。");
    return;
  }
  RecentUrls::Add(*url);
  LoadAppearance(*url);
}

}  // namespace tovmar
