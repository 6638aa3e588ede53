#include "app/TovmarDoc.h"

#ifdef __WXMSW__
#include <wx/ffile.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/DocumentPane.h"
#include "app/FileNames.h"
#include "app/PaneWindow.h"
#include "base/FileBytes.h"

namespace tovmar {

wxIMPLEMENT_DYNAMIC_CLASS(CTovmarDoc, wxDocument);

bool CTovmarDoc::OnCreate(const wxString&, long) {
  // The main frame attaches the two panes itself; the template makes no view.
  return true;
}

wxWindow* CTovmarDoc::GetPaneView(int column) const {
  if (column == DocumentPane::kNoColumn) return nullptr;
  for (wxView* view : GetViewsVector()) {
    auto* pane = dynamic_cast<DocumentPane*>(view);
    if (pane != nullptr && pane->Column() == column)
      return dynamic_cast<wxWindow*>(&pane->Window());
  }
  return nullptr;
}

void CTovmarDoc::UpdateAllViewsWithHint(wxView* sender, int hint, wxObject* object) {
  for (wxView* view : GetViewsVector()) {
    if (auto* pane = dynamic_cast<DocumentPane*>(view))
      pane->Window().OnUpdate(sender, hint, object);
  }
}

void CTovmarDoc::InitialUpdateAllPanes() {
  for (wxView* view : GetViewsVector()) {
    if (auto* pane = dynamic_cast<DocumentPane*>(view)) pane->Window().OnInitialUpdate();
  }
}

bool CTovmarDoc::DoOpenDocument(const wxString& file) {
  // Nothing is read, but the file must exist, be readable and be a regular file.
#ifdef __WXMSW__
  wxFFile f(file, "rb");
  return f.IsOpened();
#else
  // Without waiting for a writer, should the name be a pipe's.
  const int fd =
      ::open(PathFromUtf8(CorePath(file)).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  return ::close(fd) == 0 && regular;
#endif
}

bool CTovmarDoc::DoSaveDocument(const wxString& file) {
  // The document holds no data, so its file is empty. Saving makes that file where there is none
  // and leaves a file that is there as it is: cutting it to nothing would destroy whatever it
  // holds, such as a mesh or a picture opened as the document.
#ifdef __WXMSW__
  wxFFile f(file, "ab");
  return f.IsOpened() && f.Close();
#else
  // Without waiting for a reader, should the name be a pipe's.
  const int fd = ::open(PathFromUtf8(CorePath(file)).c_str(),
                        O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  return ::close(fd) == 0 && regular;
#endif
}

}  // namespace tovmar
