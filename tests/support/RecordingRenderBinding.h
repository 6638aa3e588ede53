// A rendering-context binding that creates nothing real: it hands out distinct fake context
// handles and records every call in order, so tests can see what the scene store asked for.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "mesh/RenderBinding.h"

namespace tovmar {

class RecordingRenderBinding : public RenderBinding {
 public:
  enum class Call { kCreate, kMakeCurrent, kMakeNoneCurrent, kDelete };

  struct Event {
    Call call;
    RenderContext context;  // the created, made-current or deleted context; nullptr for none
    RenderSurface surface;  // the surface of a create or make-current; nullptr otherwise
  };

  RenderContext CreateContext(RenderSurface surface, const PixelFormat& format) override {
    formats.push_back(format);
    // Each handle is the address of an element of its own: distinct for the binding's life.
    RenderContext context = &m_handles.emplace_back(static_cast<int>(m_handles.size()));
    events.push_back({Call::kCreate, context, surface});
    return context;
  }

  void MakeCurrent(RenderContext context, RenderSurface surface) override {
    events.push_back({Call::kMakeCurrent, context, surface});
  }

  void MakeNoneCurrent() override { events.push_back({Call::kMakeNoneCurrent, nullptr, nullptr}); }

  void DeleteContext(RenderContext context) override {
    events.push_back({Call::kDelete, context, nullptr});
  }

  // The contexts of every recorded call of one kind, in call order.
  std::vector<RenderContext> ContextsOf(Call call) const {
    std::vector<RenderContext> out;
    for (const Event& e : events) {
      if (e.call == call) out.push_back(e.context);
    }
    return out;
  }

  std::size_t CountOf(Call call) const { return ContextsOf(call).size(); }

  std::vector<Event> events;
  std::vector<PixelFormat> formats;  // the format of each create, in call order

 private:
  std::deque<int> m_handles;
};

}  // namespace tovmar
