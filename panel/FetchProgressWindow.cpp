#include "panel/FetchProgressWindow.h"

#include <algorithm>

#include <wx/progdlg.h>
#include <wx/window.h>

#include "base/UrlPasswords.h"

namespace tovmar {

namespace {

// The bar's steps when the server announced the length.
constexpr int kSteps = 1000;
// Addresses longer than this show their start and end around an ellipsis, so that the dialog
// stays narrower than the screen.
constexpr std::size_t kShownAddressLength = 80;

// The address as the dialog shows it: a password in it as "***", and shortened.
wxString ShownAddress(const wxString& url) {
  const wxString location = wxString::FromUTF8(MaskUrlPasswords(url.utf8_string()));
  if (location.length() <= kShownAddressLength) return location;
  const std::size_t half = kShownAddressLength / 2;
  return location.Left(half) + wxString::FromUTF8("…") + location.Right(half);
}

wxString Message(const wxString& address, std::uint64_t received, std::uint64_t total) {
  wxString bytes = wxString::Format("%llu", static_cast<unsigned long long>(received));
  if (total > 0) bytes += wxString::Format(" / %llu", static_cast<unsigned long long>(total));
  return address + "\n" + wxString::FromUTF8("受信済み: ") + bytes + wxString::FromUTF8(" バイト");
}

}  // namespace

FetchProgressWindow::FetchProgressWindow(wxWindow* parent, const wxString& location)
    : m_parent(parent),
      m_location(ShownAddress(location)),
      m_start(std::chrono::steady_clock::now()) {}

FetchProgressWindow::~FetchProgressWindow() = default;

FetchProgress FetchProgressWindow::Callback() {
  return [this](std::uint64_t received, std::uint64_t total) { return Update(received, total); };
}

bool FetchProgressWindow::Update(std::uint64_t received, std::uint64_t total) {
  if (!m_dialog) {
    if (std::chrono::steady_clock::now() - m_start < kShowAfter) return true;
    // Modal for the whole application while it shows: nothing else starts meanwhile.
    m_normalCursor.emplace();
    m_dialog = std::make_unique<wxProgressDialog>(
        wxString::FromUTF8("Avatar 設定を読み込み中"), Message(m_location, received, total), kSteps,
        wxGetTopLevelParent(m_parent), wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_AUTO_HIDE);
    if (wxWindow* cancel = m_dialog->FindWindow(wxID_CANCEL)) {
      cancel->SetLabel(wxString::FromUTF8("キャンセル"));
    }
  }
  // The bar stops short of its end, which would close the dialog before the fetch has ended.
  const wxString message = Message(m_location, received, total);
  if (total == 0) return m_dialog->Pulse(message);
  const double share = static_cast<double>(received) / static_cast<double>(total);
  const int step = static_cast<int>(std::min(share, 1.0) * (kSteps - 1));
  return m_dialog->Update(step, message);
}

}  // namespace tovmar
