#include "panel/ViewContextMenu.h"

#include <wx/menu.h>

namespace tovmar {

std::unique_ptr<wxMenu> BuildViewContextMenu(const ViewMenuState& state) {
  auto menu = std::make_unique<wxMenu>();
  const auto text = [](const char* caption) { return wxString::FromUTF8(caption); };
  menu->Append(ID_VIEW_FRAME_MODEL, text("モデル全体を表示\tF"));
  menu->Append(ID_VIEW_SAVE_PICTURE, text("画像を保存..."));
  menu->Append(ID_VIEW_EXPORT_OBJ, text("OBJ 形式で書き出し..."));
  menu->Append(ID_VIEW_SAVE_SHAPE, text("形状を保存..."));
  menu->Append(ID_VIEW_SHAPE_EDITOR, text("形状エディタ...\tCtrl+E"));
  menu->AppendSeparator();
  menu->Append(ID_VIEW_LOAD_URL, text("URL から Avatar 設定を読込..."));
  menu->AppendSeparator();
  menu->Append(ID_VIEW_OPEN_AVATAR, text("アバターを開く..."));
  menu->AppendSeparator();
  menu->AppendCheckItem(ID_VIEW_TEXTURE_AUTO_RELOAD, text("テクスチャの変更を自動で読み込む"));
  menu->AppendCheckItem(ID_VIEW_FRAME_ON_LOAD, text("読み込み時に全体を表示"));
  for (const int id :
       {ID_VIEW_FRAME_MODEL, ID_VIEW_SAVE_PICTURE, ID_VIEW_EXPORT_OBJ, ID_VIEW_SAVE_SHAPE}) {
    menu->Enable(id, state.hasMesh);
  }
  menu->Check(ID_VIEW_TEXTURE_AUTO_RELOAD, state.textureAutoReload);
  menu->Check(ID_VIEW_FRAME_ON_LOAD, state.frameOnLoad);
  return menu;
}

}  // namespace tovmar
