// A korvelane-sim process started by a test, stopped and reaped when the object goes.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

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

inline bool IsSocket(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

class SimProcess {
 public:
  SimProcess() = default;
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  ~SimProcess() { Kill(SIGKILL); }

  // Starts korvelane-sim with `args`; true once it runs (the socket may still be coming).
  bool Start(const std::vector<std::string>& args) {
    std::vector<std::string> all = {KORVELANE_SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    exited_ = false;
    return posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
  }

  // Starts it serving `socket` and waits for the socket to appear.
  bool Serve(const std::string& socket, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--socket", socket};
    args.insert(args.end(), extra.begin(), extra.end());
    return Start(args) && WaitUntil([&] { return IsSocket(socket); });
  }

  void Signal(int signal) {
    if (pid_ > 0 && !exited_)
      kill(pid_, signal);
  }

  // Waits for the process to end; its exit status (-1 on time-out, 128 + n for signal n).
  int Wait(int milliseconds = 5000) {
    if (pid_ <= 0)
      return -1;
    if (!exited_ && !WaitUntil(
                        [&] {
                          int status = 0;
                          if (waitpid(pid_, &status, WNOHANG) != pid_)
                            return false;
                          status_ =
                              WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                          return true;
                        },
                        milliseconds))
      return -1;
    exited_ = true;
    return status_;
  }

  void Kill(int signal) {
    Signal(signal);
    Wait();
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  bool exited_ = false;
  int status_ = -1;
};

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
