// SPDX-License-Identifier: GPL-3.0-or-later
// korvelane-sim: the simulated instrument as a process of its own, reached over a Unix-domain
// socket by `korvelane --device socket:PATH` or by the user's own scripts.
#include <signal.h>
#include <sys/signalfd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "simulator/sim_server.h"

namespace {

void PrintHelp() {
  std::cout << "Usage: korvelane-sim --socket PATH [options]\n"
               "Serves a simulated oscilloscope on the Unix-domain socket PATH, one connection\n"
               "at a time. The bytes on the socket are the instrument's protocol messages.\n"
               "\n"
               "Options:\n"
               "  --socket PATH         where to listen (required)\n"
               "  --product-type N      product type sent on Bind, 0..127 (default 0)\n"
               "  --seed N              seed of the noise on the signals (default 1)\n"
               "  --fault FAULT         spoil answers; may be given more than once:\n"
            << korvelane::sim::FaultTextHelp()
            << "  --verbose             one line per exchange on standard error\n"
               "  --help                this text\n"
               "\n"
               "SIGTERM or SIGINT stops the server and removes the socket.\n";
}

bool ParseNumber(const char* text, long lo, long hi, long& value) {
  errno = 0;
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && value >= lo && value <= hi;
}

int Fail(const std::string& text) {
  std::cerr << "korvelane-sim: " << text << "\nTry korvelane-sim --help.\n";
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  korvelane::sim::ServerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    long number = 0;
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--socket" && has_value) {
      options.socket_path = argv[++i];
    } else if (arg == "--product-type" && has_value) {
      if (!ParseNumber(argv[++i], 0, 127, number))
        return Fail("--product-type takes a number from 0 to 127");
      options.instrument.product_type = static_cast<int8_t>(number);
    } else if (arg == "--seed" && has_value) {
      if (!ParseNumber(argv[++i], 0, 4294967295L, number))
        return Fail("--seed takes a number from 0 to 4294967295");
      options.instrument.seed = static_cast<uint32_t>(number);
    } else if (arg == "--fault" && has_value) {
      korvelane::sim::FaultText fault;
      std::string error;
      if (!korvelane::sim::ParseFaultText(argv[++i], fault, error))
        return Fail(error);
      options.faults.push_back(fault);
    } else {
      const bool takes_value =
          arg == "--socket" || arg == "--product-type" || arg == "--seed" || arg == "--fault";
      return Fail(takes_value ? arg + " needs a value" : "unknown argument " + arg);
    }
  }
  if (options.socket_path.empty())
    return Fail("--socket PATH is required");

  // SIGTERM and SIGINT are taken as data on a descriptor that the server watches, so that
  // it can remove its socket before it ends.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  const int stop_fd = sigprocmask(SIG_BLOCK, &stop_signals, nullptr) == 0
                          ? signalfd(-1, &stop_signals, SFD_CLOEXEC | SFD_NONBLOCK)
                          : -1;
  if (stop_fd < 0) {
    std::cerr << "korvelane-sim: " << std::strerror(errno) << "\n";
    return 1;
  }
  signal(SIGPIPE, SIG_IGN);
  return korvelane::sim::RunServer(options, stop_fd, std::cerr);
}
