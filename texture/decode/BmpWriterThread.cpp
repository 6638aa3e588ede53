#include "texture/decode/BmpWriterThread.h"

#include <system_error>

namespace tovmar {

namespace {

// Rows are written in blocks of at least this many, or the last ones when no more come: about
// 400 KB of a 2048-pixel picture, so that each write is large and the thread is woken rarely.
constexpr std::int32_t kBlockRows = 64;

}  // namespace

BmpWriterThread::BmpWriterThread(std::FILE* file) : m_file(file), m_start(std::ftell(file)) {}

BmpWriterThread::~BmpWriterThread() {
  Abandon();
}

void BmpWriterThread::Abandon() {
  if (!m_thread.joinable()) return;
  {
    const std::lock_guard lock(m_mutex);
    m_abandoned = true;
  }
  m_wake.notify_one();
  m_thread.join();
}

RowsDecoded BmpWriterThread::Reporter() {
  return
      [this](const BgrPicture& picture, std::int32_t rowsFromTop) { Report(picture, rowsFromTop); };
}

void BmpWriterThread::Report(const BgrPicture& picture, std::int32_t rowsFromTop) {
  // The rows are about to go: the thread must not read them any more.
  if (rowsFromTop < 0) {
    Abandon();
    m_start = -1;
    return;
  }
  if (m_start < 0) return;
  const bool last = rowsFromTop >= picture.height;
  if (++m_toldUnannounced < kBlockRows && !last) return;
  m_toldUnannounced = 0;
  {
    const std::lock_guard lock(m_mutex);
    m_rows = BgrRows{picture.bgr.data(), picture.width, picture.height};
    m_rowsReady = rowsFromTop;
  }
  if (!m_thread.joinable()) {
    // Without a thread to be had, Finish writes the picture whole.
    try {
      m_thread = std::thread(&BmpWriterThread::Run, this);
    } catch (const std::system_error&) {
      m_start = -1;
    }
    return;
  }
  m_wake.notify_one();
}

void BmpWriterThread::Run() {
  std::unique_lock lock(m_mutex);
  const BgrRows rows = m_rows;
  lock.unlock();
  bool written = WriteBmpHeaders(m_file, m_start, rows.width, rows.height);
  std::int32_t done = 0;  // rows from the top in the file
  lock.lock();
  while (written && !m_abandoned) {
    m_wake.wait(lock,
                [&] { return m_abandoned || m_finishing || m_rowsReady - done >= kBlockRows; });
    if (m_abandoned || (m_finishing && m_rowsReady == done)) break;
    const std::int32_t ready = m_rowsReady;
    lock.unlock();
    // Rows [done, ready) from the top are file rows [height - ready, height - done).
    written = WriteBmpRows(m_file, m_start, rows, static_cast<std::uint32_t>(rows.height - ready),
                           static_cast<std::uint32_t>(ready - done));
    done = ready;
    lock.lock();
  }
  m_failed = !written;
}

bool BmpWriterThread::Finish(const BgrPicture& picture) {
  if (!m_thread.joinable()) return WriteBmp24(m_file, picture);
  bool allTold = false;
  {
    const std::lock_guard lock(m_mutex);
    allTold = m_rows.bgr == picture.bgr.data() && m_rows.width == picture.width &&
              m_rows.height == picture.height && m_rowsReady == picture.height;
    (allTold ? m_finishing : m_abandoned) = true;
  }
  m_wake.notify_one();
  m_thread.join();
  // A picture other than the one whose rows were told, or not all of them: written whole anew.
  if (!allTold) return std::fseek(m_file, m_start, SEEK_SET) == 0 && WriteBmp24(m_file, picture);
  return !m_failed && std::fseek(m_file, 0, SEEK_END) == 0 && std::fflush(m_file) == 0;
}

}  // namespace tovmar
