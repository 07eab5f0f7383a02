// SPDX-License-Identifier: GPL-3.0-or-later
// A korvelane-sim process started by a test, stopped and reaped when the object goes.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link_test_support.h"

extern char** environ;

namespace korvelane::testing {

inline bool IsSocket(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

// Whether a socket bound to `path` listens already. The file appears at bind(), a moment
// before listen(); a connection in between is refused.
inline bool IsListening(const std::string& path) {
  std::ifstream table("/proc/net/unix");
  std::string line;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string num, refs, protocol, flags, type, state, inode, bound;
    if (fields >> num >> refs >> protocol >> flags >> type >> state >> inode >> bound &&
        bound == path && flags == "00010000")
      return true;
  }
  return false;
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

  // Starts it serving `socket` and waits until it listens.
  bool Serve(const std::string& socket, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--socket", socket};
    args.insert(args.end(), extra.begin(), extra.end());
    return Start(args) && WaitUntil([&] { return IsSocket(socket) && IsListening(socket); });
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

}  // namespace korvelane::testing
