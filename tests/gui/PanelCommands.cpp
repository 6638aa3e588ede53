#include "tests/gui/PanelCommands.h"

#include <gtest/gtest.h>

#include "mesh/SceneStore.h"
#include "tests/gui/AppAccess.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {

void Press(int id) {
  wxWindow* control = Panel().FindWindow(id);
  ASSERT_NE(control, nullptr);
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(control);
  control->GetEventHandler()->ProcessEvent(event);
}

wxImage ShownScene() {
  View3D().Refresh(false);
  PumpEvents(150);
  return GrabWindow(&View3D());
}

void RemoveAllMeshes() {
  SceneStore& store = Scene();
  while (store.MeshCount() > 0) store.RemoveMesh(store.GetMesh(0)->header.id);
}

}  // namespace tovmar
