// An oscilloscope of the family, simulated: it takes request messages and answers them with the
// bytes a real instrument would send, from a state that behaves like the instrument's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

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

struct Fault {
  FaultKind kind = FaultKind::kDropAnswer;
  int operation = 0;  // kResultFailure: the operation id whose answer fails
  int piece = 0;      // bitmap faults: the piece number that is spoiled
  int times = 1;      // how many matching answers suffer it
};

class SimulatedInstrument {
 public:
  explicit SimulatedInstrument(SimulatorOptions options = {});
  ~SimulatedInstrument();
  SimulatedInstrument(const SimulatedInstrument&) = delete;
  SimulatedInstrument& operator=(const SimulatedInstrument&) = delete;

  // Handles one whole request message (header and body). Returns the whole answer message, or
  // an empty vector when no answer comes (dropped, unplugged, or not a request it understands).
  std::vector<uint8_t> Exchange(const uint8_t* request, size_t size);

  void InjectFault(const Fault& fault);
  void ClearFaults();

  // Plugging. Listeners hear every change of `plugged()`.
  void Unplug();
  void Plug();
  void UnplugAfter(int exchanges);  // unplugs after that many further exchanges
  bool plugged() const;
  using PlugListener = std::function<void(bool plugged)>;
  void SetPlugListener(PlugListener listener);

  // State, for tests and tools.
  bool bound() const;
  const std::array<uint8_t, 2500>& settings_block() const;
  std::vector<uint8_t> ScreenBitmap() const;  // the whole BMP file a bitmap transfer sends
  std::array<uint8_t, 8> panel_lamps() const;  // parameter-record bytes 4..11
  uint64_t exchange_count() const;

 private:
  struct State;
  State* state_;
};

}  // namespace korvelane::sim
