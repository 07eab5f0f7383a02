// SPDX-License-Identifier: GPL-3.0-or-later
// An oscilloscope of the family, simulated: it takes request messages and answers them with the
// bytes a real instrument would send, from a state that behaves like the instrument's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "simulator/scope.h"

namespace korvelane::sim {

struct SimulatorOptions {
  int8_t product_type = 0;
  uint32_t seed = 1;  // seeds the noise on the signals
};

enum class FaultKind {
  kDropAnswer,        // the next answer is not sent at all
  kBadSignature,      // the next answer's signature is wrong
  kInvokeType,        // the next answer carries msg_type 0
  kUnknownOperation,  // the next answer carries an unused operation id
  kErrorReport,       // the next answer is an error report (operation 9)
  kResultFailure,     // the next answer to `operation` carries a non-zero result
  kBadChecksum,       // bitmap piece number `piece` carries a wrong checksum
  kWrongFileNum,      // bitmap piece number `piece` carries a wrong file_num
  kZeroFileLen,       // bitmap piece number `piece` carries file_len 0
};

// A fault touches the answers it matches, one fault an answer, in the order they were injected.
// The answer-spoiling kinds (drop, signature, msg_type, unknown id) leave the request carried
// out, as when an answer is lost on its way; an error report or a failing result means the
// instrument did not carry it out.
struct Fault {
  FaultKind kind = FaultKind::kDropAnswer;
  int operation = 0;  // kResultFailure: the operation id whose answer fails; other kinds: only
                      // answers to this operation, 0 for any
  int piece = 0;      // bitmap faults: the piece number that is spoiled
  int times = 1;      // how many matching answers suffer it
  int code = -1;      // kErrorReport: the error code sent
};

class SimulatedInstrument {
 public:
  explicit SimulatedInstrument(SimulatorOptions options = {});
  ~SimulatedInstrument();
  SimulatedInstrument(const SimulatedInstrument&) = delete;
  SimulatedInstrument& operator=(const SimulatedInstrument&) = delete;

  // Handles one whole request message (header and body). Returns the whole answer message, or
  // an empty vector when no answer comes (dropped, unplugged, or not a well-formed request: a
  // wrong signature, msg_type not 0, msg_len not matching the size). A well-formed request with
  // an operation the instrument does not have is answered with an error report (operation 9).
  // Only a bound host is served: before a Bind, and after an UnBind or an unplugging, other
  // requests are answered with a non-zero result; so are the records of a channel switched off.
  // Not thread-safe: one caller at a time.
  std::vector<uint8_t> Exchange(const uint8_t* request, size_t size);

  void InjectFault(const Fault& fault);
  void ClearFaults();  // and a pending UnplugAfter

  // Plugging. Listeners hear every change of `plugged()`.
  void Unplug();
  void Plug();
  // Answers that many further exchanges; the next request then finds the instrument unplugged
  // and goes unanswered. 0 or less unplugs now.
  void UnplugAfter(int exchanges);
  bool plugged() const;
  using PlugListener = std::function<void(bool plugged)>;
  void SetPlugListener(PlugListener listener);  // one listener; an empty one removes it

  // State, for tests and tools.
  bool bound() const;
  const std::array<uint8_t, 2500>& settings_block() const;
  std::vector<uint8_t> ScreenBitmap() const;   // the whole BMP file a bitmap transfer sends
  std::array<uint8_t, 8> panel_lamps() const;  // parameter-record bytes 4..11
  uint64_t exchange_count() const;  // well-formed requests that reached it while plugged in
  int8_t product_type() const;
  const ScopeState& front_panel() const;
  size_t pending_faults() const;

 private:
  struct State;
  State* state_;
};

}  // namespace korvelane::sim
