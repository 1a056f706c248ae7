// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundSink.h"

namespace tenaxo {

namespace {
// Pieces waiting at most: the maker runs no further ahead.
constexpr size_t kWaiting = 2;
}  // namespace

BackgroundSink::~BackgroundSink() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    waiting_.clear();
  }
  changed_.notify_all();
  thread_.join();
}

void BackgroundSink::Append(std::string_view bytes) {
  if (!thread_.joinable()) {
    to_.Append(bytes);
    return;
  }
  std::string copy(bytes);
  Hand(copy, copy.size());
}

void BackgroundSink::Hand(std::string& buffer, size_t size) {
  std::unique_lock<std::mutex> lock(mutex_);
  WaitFor(lock, kWaiting);
  waiting_.emplace_back(std::move(buffer), size);
  buffer.clear();
  if (!spare_.empty()) {
    buffer = std::move(spare_.back());
    spare_.pop_back();
  }
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  lock.unlock();
  changed_.notify_all();
}

void BackgroundSink::Restart() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return waiting_.empty() && !passing_; });
  failure_ = nullptr;
  to_.Restart();
}

void BackgroundSink::Finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  WaitFor(lock, 0);
}

void BackgroundSink::WaitFor(std::unique_lock<std::mutex>& lock, size_t pieces) {
  changed_.wait(lock, [this, pieces] { return failure_ || waiting_.size() + (passing_ ? 1 : 0) <= pieces; });
  if (failure_) std::rethrow_exception(failure_);
}

void BackgroundSink::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) return;
    std::pair<std::string, size_t> piece = std::move(waiting_.front());
    waiting_.pop_front();
    passing_ = true;
    lock.unlock();
    std::exception_ptr failure;
    try {
      to_.Append(std::string_view(piece.first.data(), piece.second));
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    passing_ = false;
    if (failure) {
      failure_ = failure;
      waiting_.clear();
    }
    spare_.push_back(std::move(piece.first));
    changed_.notify_all();
  }
}

}  // namespace tenaxo
