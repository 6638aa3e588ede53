// The 3D view's context menu: its entries, in order, and which of them can act.
#pragma once

#include <memory>

class wxMenu;

namespace tovmar {

constexpr int ID_VIEW_FRAME_MODEL = 1200;
constexpr int ID_VIEW_SAVE_PICTURE = 1201;
constexpr int ID_VIEW_EXPORT_OBJ = 1202;
constexpr int ID_VIEW_SAVE_SHAPE = 1203;
constexpr int ID_VIEW_LOAD_URL = 1204;
constexpr int ID_VIEW_TEXTURE_AUTO_RELOAD = 1205;
constexpr int ID_VIEW_OPEN_AVATAR = 1206;
constexpr int ID_VIEW_SHAPE_EDITOR = 1210;
constexpr int ID_VIEW_FRAME_ON_LOAD = 1211;

struct ViewMenuState {
  bool hasMesh = false;
  bool textureAutoReload = true;
  bool frameOnLoad = true;
};

// The menu for `state`: framing, the picture, the OBJ file and the shape need a mesh; reading an
// address asks for one itself; opening an avatar or the shape editor needs nothing; the check items
// show whether the texture follows its file and whether a loaded mesh is framed.
std::unique_ptr<wxMenu> BuildViewContextMenu(const ViewMenuState& state);

}  // namespace tovmar
