#include "tests/support/WxTestUtil.h"

#include <chrono>
#include <thread>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>

namespace tovmar {

void PumpEvents(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    wxTheApp->Yield(true);
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

wxImage GrabWindow(wxWindow* window) {
  const wxSize size = window->GetClientSize();
  const wxPoint origin = window->ClientToScreen(wxPoint(0, 0));
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxScreenDC screen;
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, size.x, size.y, &screen, origin.x, origin.y);
  }
  bitmap.ConvertToImage().SaveFile("/tmp/hp/g.png", wxBITMAP_TYPE_PNG);
  return bitmap.ConvertToImage();
}

}  // namespace tovmar
