// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting in link tests: for a condition, and for the device changes a link reports.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace korvelane::testing {

// Polls `done` every 10 ms until it holds or the time is up.
template <typename Predicate>
bool WaitUntil(Predicate done, int milliseconds = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Device-change notifications from a link's background thread.
class Notifications {
 public:
  void Add(uintptr_t wparam) {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back(wparam);
    changed_.notify_all();
  }
  // Waits until `wparam` has been seen `count` times in all.
  bool WaitFor(uintptr_t wparam, size_t count = 1, int milliseconds = 5000) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] {
      return static_cast<size_t>(std::count(seen_.begin(), seen_.end(), wparam)) >= count;
    });
  }
  std::vector<uintptr_t> seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uintptr_t> seen_;
};

}  // namespace korvelane::testing
