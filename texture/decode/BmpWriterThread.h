// Writing a picture as a BMP file while its decoder still decodes it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>

#include "texture/decode/BgrPicture.h"
#include "texture/decode/BmpWriter.h"

namespace tovmar {

// Writes what WriteBmp24 writes, from the file's position when made on. A decoder that tells of
// its rows as they become final (RowsDecoded) has them written, a block at a time, by a thread of
// this writer's own while it decodes the rest: the rows come from the top and go to their place in
// the file, where the bottom row comes first. A picture whose rows were not all told is written
// whole by Finish.
class BmpWriterThread {
 public:
  explicit BmpWriterThread(std::FILE* file);
  // Stops the thread, leaving the file as far as it got.
  ~BmpWriterThread();
  BmpWriterThread(const BmpWriterThread&) = delete;
  BmpWriterThread& operator=(const BmpWriterThread&) = delete;

  // The report to give the decoder; it calls it on the decoder's thread.
  RowsDecoded Reporter();

  // After a decode that succeeded: writes what is not written yet, waits for the thread, leaves
  // the file's position at its end and flushes it. True when every byte was written.
  bool Finish(const BgrPicture& picture);

 private:
  void Report(const BgrPicture& picture, std::int32_t rowsFromTop);
  void Run();
  // Ends the thread without writing more.
  void Abandon();

  std::FILE* m_file;
  long m_start;
  // Rows told since the thread was last woken; only the decoder's thread uses it.
  std::int32_t m_toldUnannounced = 0;

  std::mutex m_mutex;
  std::condition_variable m_wake;
  BgrRows m_rows;                // the decoder's picture, once the first row is told
  std::int32_t m_rowsReady = 0;  // rows from the top that are decoded
  bool m_finishing = false;      // no more rows come: write what is left, then end
  bool m_abandoned = false;      // no more rows come: end at once
  bool m_failed = false;         // a write failed; the thread has ended
  std::thread m_thread;
};

}  // namespace tovmar
