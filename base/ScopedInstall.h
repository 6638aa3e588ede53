// The seams that tests and commands replace (the message sink, the file dialogs, the image
// converter, the location fetcher, the web address opener) are each one installed object with an
// `Install` function that returns the previous one. This puts a replacement in for the life of a
// scope and the previous one back afterwards.
#pragma once

namespace tovmar {

template <typename Seam, Seam* (*Install)(Seam*)>
class ScopedInstall {
 public:
  explicit ScopedInstall(Seam* replacement) : m_previous(Install(replacement)) {}
  ~ScopedInstall() { Install(m_previous); }
  ScopedInstall(const ScopedInstall&) = delete;
  ScopedInstall& operator=(const ScopedInstall&) = delete;

 private:
  Seam* m_previous;
};

}  // namespace tovmar
