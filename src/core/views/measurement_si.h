// SPDX-License-Identifier: GPL-3.0-or-later
// Measurement values in SI base units (V, s, Hz) with a text that always uses "." as its decimal
// point, for files that other programs read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/protocol/measurement_record.h"

namespace korvelane {

struct SiValue {
  double value = 0.0;
  const char* unit = "";  // "V", "s" or "Hz"
};

// The record's value in its SI base unit, decimally exact as far as the record's single-precision
// value goes: 12.34 in "mV" is 0.01234 V. Nothing for a record that is not valid, a non-finite
// value, or a unit without a base unit ("?", "div", an index outside the table).
std::optional<SiValue> MeasurementSiValue(const MeasurementRecord& record);

// A number followed by a unit of the unit table, as the parameter list shows scales ("500.00us",
// "1.00V", "0 V"), in its SI base unit; nothing for any other text. The sign is kept.
std::optional<SiValue> ParseSiText(std::string_view text);

// The shortest text that reads back as `value`, with "." whatever the locale: plain decimals
// from 1e-5 up to 1e15 ("0.01234", "-2.5", "1500"), an exponent beyond ("2.5e-09"). Empty for a
// non-finite value.
std::string FormatSiNumber(double value);

// A number with at most `digits` significant digits, trailing zeros dropped, "." always.
std::string FormatSignificant(double value, int digits);

}  // namespace korvelane
