#include "texture/MappedFile.h"

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace tovmar {

#ifdef _WIN32
MappedFile::MappedFile(std::FILE*, std::uint64_t) {}
MappedFile::~MappedFile() = default;
#else
MappedFile::MappedFile(std::FILE* file, std::uint64_t size) {
  if (size == 0 || size > SIZE_MAX) return;
  int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
  // The pages are in memory already: one call maps them all, rather than one fault each.
  flags |= MAP_POPULATE;
#endif
  void* data = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, flags, fileno(file), 0);
  if (data == MAP_FAILED) return;
  m_data = static_cast<const std::uint8_t*>(data);
  m_size = size;
}

MappedFile::~MappedFile() {
  if (m_data != nullptr)
    munmap(const_cast<std::uint8_t*>(m_data), static_cast<std::size_t>(m_size));
}
#endif

}  // namespace tovmar
