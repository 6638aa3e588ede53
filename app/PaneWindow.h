// What the document asks of each of its two panes.
#pragma once

class wxObject;
class wxView;

namespace tovmar {

class PaneWindow {
 public:
  virtual ~PaneWindow() = default;
  // At start-up and after every document New or Open.
  virtual void OnInitialUpdate() = 0;
  // The document's update broadcast: (sender, hint number, object).
  virtual void OnUpdate(wxView* sender, int hint, wxObject* object) = 0;
};

}  // namespace tovmar
