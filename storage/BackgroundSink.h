// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sink that passes a file's pieces on from a thread of its own.
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ByteSink.h"

namespace tenaxo {

// Passes the pieces handed to it on to another sink, in order, on a thread of
// its own from the first piece handed: the next piece is made while the last
// one is passed on. What the other sink throws is thrown again by the call
// after (Finish at the latest); the pieces after it are dropped. Bytes
// appended before the first piece handed are passed on at once, those after
// it are copied.
class BackgroundSink : public ByteSink {
 public:
  explicit BackgroundSink(ByteSink& to) : to_(to) {}
  // Waits for the piece being passed on; those not yet begun are dropped.
  ~BackgroundSink() override;
  BackgroundSink(const BackgroundSink&) = delete;
  BackgroundSink& operator=(const BackgroundSink&) = delete;

  void Append(std::string_view bytes) override;
  void Hand(std::string& buffer, size_t size) override;
  // Waits for the pieces handed so far, then restarts the other sink.
  void Restart() override;
  // Waits until every piece is passed on.
  void Finish();

 private:
  void Run();
  // Waits, the lock held, until no more than `pieces` are waiting or being
  // passed on, then throws what the other sink threw, if it did.
  void WaitFor(std::unique_lock<std::mutex>& lock, size_t pieces);

  ByteSink& to_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::pair<std::string, size_t>> waiting_;  // pieces and their sizes
  std::vector<std::string> spare_;                      // buffers passed on
  bool passing_ = false, stopping_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace tenaxo
