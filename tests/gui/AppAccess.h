// Reaching the running application's windows and writing the meshes the window tests load.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <wx/app.h>

#include "app/MainFrame.h"
#include "app/TovmarApp.h"
#include "app/TovmarDoc.h"
#include "panel/TovmarView.h"
#include "render/window/GLView.h"
#include "tests/support/TempFolder.h"

namespace tovmar {

inline CTovmarApp& App() {
  return *dynamic_cast<CTovmarApp*>(wxTheApp);
}
inline CMainFrame& Frame() {
  return *App().MainFrame();
}
inline CTovmarDoc& Doc() {
  return *App().Document();
}
inline CTovmarView& Panel() {
  return *Frame().Panel();
}
inline GLView& View3D() {
  return *Frame().View3D();
}
inline SceneStore& Scene() {
  return App().Scene();
}

// The test's own folder (removed with the object), naming its files as the toolkit's strings.
class TestFolder : public TempFolder {
 public:
  using TempFolder::TempFolder;
  wxString File(const std::string& name) const {
    return wxString::FromUTF8(TempFolder::File(name));
  }
};

// Writes a ball of the given radius in file units, centred at the origin, with outward normals
// and one morph target "Big_Belly" that pushes it out along +X, and returns its path. With
// `stretchZ` the ball is that many times as tall as it is wide.
wxString WriteBallMesh(const TestFolder& folder, const std::string& name, float radius,
                       float stretchZ = 1.0f);

// Writes a triangle with one morph target for each of `names`, each moving the first vertex a
// little, as `file` in `folder`, and returns its path.
wxString WriteTargetsMesh(const TestFolder& folder, const std::string& file,
                          const std::vector<std::string>& names);

}  // namespace tovmar
