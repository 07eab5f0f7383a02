// SPDX-License-Identifier: GPL-3.0-or-later
// Faults written as text, as korvelane-sim takes them on its command line.
//
//   drop | bad-signature | invoke-type | unknown-op | error-report   the next answer
//   result:OP                                                       the next answer to OP
//   checksum:PIECE | file-num:PIECE | file-len:PIECE                bitmap piece PIECE
//   unplug-after:N                                                  unplug after N exchanges
// All but unplug-after may end in "*TIMES" (e.g. "checksum:3*2"); error-report may name
// its code with "=CODE" (e.g. "error-report=-1").
#pragma once

#include <string>

#include "simulator/simulated_instrument.h"

namespace korvelane::sim {

struct FaultText {
  bool unplug = false;  // "unplug-after:N": `unplug_after` holds N
  int unplug_after = 0;
  Fault fault;
};

// False, with `error` telling why, for a text of none of the forms above.
bool ParseFaultText(const std::string& text, FaultText& out, std::string& error);

// The forms, for --help.
const char* FaultTextHelp();

}  // namespace korvelane::sim
