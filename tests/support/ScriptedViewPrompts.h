// View prompts whose answers a test scripts in advance (nothing: cancelled). With no answer left,
// a shape name is the one proposed and an archetype the first offered. What was proposed and
// offered is recorded. Installed for the life of the object.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "base/ScopedInstall.h"
#include "panel/ViewPrompts.h"

namespace tovmar {

class ScriptedViewPrompts : public ViewPrompts {
 public:
  std::optional<wxString> AskShapeName(wxWindow*, const wxString& name) override {
    proposed.push_back(name);
    return Next(answers, name);
  }

  std::optional<std::size_t> AskArchetype(wxWindow*, const std::vector<wxString>& names) override {
    offeredArchetypes.push_back(names);
    return Next(archetypeAnswers, std::size_t{0});
  }

  std::deque<std::optional<wxString>> answers;
  std::vector<wxString> proposed;
  std::deque<std::optional<std::size_t>> archetypeAnswers;
  std::vector<std::vector<wxString>> offeredArchetypes;

 private:
  template <typename T>
  static std::optional<T> Next(std::deque<std::optional<T>>& scripted, T otherwise) {
    if (scripted.empty()) return otherwise;
    const std::optional<T> answer = scripted.front();
    scripted.pop_front();
    return answer;
  }

  ScopedInstall<ViewPrompts, &InstallViewPrompts> m_installed{this};
};

}  // namespace tovmar
