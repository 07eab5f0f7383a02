// SPDX-License-Identifier: GPL-3.0-or-later
// korvelane-sim's server: one simulated instrument behind a Unix-domain socket, one connection
// at a time.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "simulator/fault_text.h"
#include "simulator/simulated_instrument.h"

namespace korvelane::sim {

struct ServerOptions {
  std::string socket_path;
  SimulatorOptions instrument;
  std::vector<FaultText> faults;
  bool verbose = false;  // one line per exchange
  int replug_ms = 1000;  // an unplugged instrument comes back after this
};

// Serves until `stop_fd` becomes readable (a signalfd of the stop signals). A connection that
// ends counts as an unplugging: the next one must Bind again. While one connection is served,
// or while the instrument is unplugged, further connections are closed at once. The socket
// file is removed on return. Returns 0, or 1 when the socket cannot be made.
int RunServer(const ServerOptions& options, int stop_fd, std::ostream& log);

// The verbose line of one exchange.
std::string DescribeExchange(uint64_t number, const std::vector<uint8_t>& request,
                             const std::vector<uint8_t>& answer);

}  // namespace korvelane::sim
