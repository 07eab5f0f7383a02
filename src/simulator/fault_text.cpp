// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/fault_text.h"

#include <cerrno>
#include <cstdlib>

namespace korvelane::sim {
namespace {

// A whole decimal number within [lo, hi].
bool ParseInt(const std::string& text, long lo, long hi, int& value) {
  if (text.empty())
    return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi)
    return false;
  value = static_cast<int>(v);
  return true;
}

struct Name {
  const char* text;
  FaultKind kind;
  enum Argument { kNone, kOperation, kPiece } argument;
};

constexpr Name kNames[] = {
    {"drop", FaultKind::kDropAnswer, Name::kNone},
    {"bad-signature", FaultKind::kBadSignature, Name::kNone},
    {"invoke-type", FaultKind::kInvokeType, Name::kNone},
    {"unknown-op", FaultKind::kUnknownOperation, Name::kNone},
    {"error-report", FaultKind::kErrorReport, Name::kNone},
    {"result", FaultKind::kResultFailure, Name::kOperation},
    {"checksum", FaultKind::kBadChecksum, Name::kPiece},
    {"file-num", FaultKind::kWrongFileNum, Name::kPiece},
    {"file-len", FaultKind::kZeroFileLen, Name::kPiece},
};

}  // namespace

bool ParseFaultText(const std::string& text, FaultText& out, std::string& error) {
  FaultText result;
  std::string rest = text;
  const size_t star = rest.find('*');
  if (star != std::string::npos) {
    if (!ParseInt(rest.substr(star + 1), 1, 1'000'000, result.fault.times)) {
      error = "the count after '*' must be a number from 1 on";
      return false;
    }
    rest.resize(star);
  }
  const size_t colon = rest.find(':');
  const bool has_argument = colon != std::string::npos;
  const std::string argument = has_argument ? rest.substr(colon + 1) : "";
  std::string name = rest.substr(0, colon);
  const size_t equals = name.find('=');
  const bool has_code = equals != std::string::npos;
  const std::string code = has_code ? name.substr(equals + 1) : "";
  if (has_code)
    name.resize(equals);

  if (name == "unplug-after") {
    if (star != std::string::npos || has_code ||
        !ParseInt(argument, 0, 1'000'000'000, result.unplug_after)) {
      error = "unplug-after needs a number of exchanges, e.g. unplug-after:5";
      return false;
    }
    result.unplug = true;
    out = result;
    return true;
  }
  for (const Name& n : kNames) {
    if (name != n.text)
      continue;
    result.fault.kind = n.kind;
    if (has_code &&
        (n.kind != FaultKind::kErrorReport || !ParseInt(code, -128, 255, result.fault.code))) {
      error = "only error-report takes a code, from -128 to 255";
      return false;
    }
    if (n.argument == Name::kNone && has_argument) {
      error = std::string(n.text) + " takes no argument";
      return false;
    }
    if (n.argument == Name::kOperation && !ParseInt(argument, 1, 13, result.fault.operation)) {
      error = "result needs an operation id from 1 to 13, e.g. result:5";
      return false;
    }
    if (n.argument == Name::kPiece && !ParseInt(argument, 0, 1'000'000, result.fault.piece)) {
      error = std::string(n.text) + " needs a piece number, e.g. " + n.text + ":3";
      return false;
    }
    out = result;
    return true;
  }
  error = "unknown fault \"" + text + "\"";
  return false;
}

const char* FaultTextHelp() {
  return "  drop, bad-signature, invoke-type, unknown-op, error-report[=CODE]\n"
         "                        spoil the next answer\n"
         "  result:OP             the next answer to operation OP carries a failing result\n"
         "  checksum:PIECE, file-num:PIECE, file-len:PIECE\n"
         "                        spoil bitmap piece PIECE\n"
         "  unplug-after:N        answer N exchanges, then unplug (and plug back in a second\n"
         "                        later)\n"
         "  Add *TIMES to spoil that many answers, e.g. checksum:3*2.\n";
}

}  // namespace korvelane::sim
