// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/measurement_si.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "core/protocol/unit_table.h"

namespace korvelane {
namespace {

struct BaseUnit {
  int power_of_ten;
  const char* unit;  // empty: the unit has no base unit
};

// The base unit of each unit index and the power of ten that brings a value into it.
constexpr BaseUnit kBaseUnits[kUnitCount] = {
    {-12, "s"}, {-9, "s"}, {-6, "s"}, {-3, "s"}, {0, "s"},  {-6, "V"}, {-3, "V"},  {0, "V"},
    {3, "V"},   {0, ""},   {0, "Hz"}, {3, "Hz"}, {6, "Hz"}, {9, "Hz"}, {12, "Hz"}, {0, ""}};

std::optional<BaseUnit> BaseUnitOf(int unit_index) {
  if (unit_index < 0 || unit_index >= kUnitCount || !*kBaseUnits[unit_index].unit)
    return std::nullopt;
  return kBaseUnits[unit_index];
}

// `mantissa` times ten to `exponent`, read as one decimal so that no rounding of a scale factor
// creeps in.
double ScaledDecimal(const std::string& mantissa, int exponent) {
  const std::string decimal = mantissa + "e" + std::to_string(exponent);
  double value = 0.0;
  std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  return value;
}

}  // namespace

std::optional<SiValue> MeasurementSiValue(const MeasurementRecord& record) {
  const std::optional<BaseUnit> base = BaseUnitOf(record.unit);
  if (!record.valid || !base || !std::isfinite(record.value))
    return std::nullopt;
  // The shortest decimal of the single-precision value, with its exponent moved by the unit's
  // power of ten, read as a double: 12.34 mV becomes exactly the double nearest 0.01234.
  char text[64];
  const auto written =
      std::to_chars(text, text + sizeof text, record.value, std::chars_format::scientific);
  const std::string decimal(text, written.ptr);
  const size_t e = decimal.find('e');
  const int exponent = std::atoi(decimal.c_str() + e + 1) + base->power_of_ten;
  return SiValue{ScaledDecimal(decimal.substr(0, e), exponent), base->unit};
}

std::optional<SiValue> ParseSiText(std::string_view text) {
  const char* end = text.data() + text.size();
  const char* at = text.data();
  while (at < end && *at == ' ')
    ++at;
  double number = 0.0;
  const auto parsed = std::from_chars(at, end, number);
  if (parsed.ec != std::errc() || !std::isfinite(number))
    return std::nullopt;
  std::string_view suffix(parsed.ptr, static_cast<size_t>(end - parsed.ptr));
  while (!suffix.empty() && suffix.front() == ' ')
    suffix.remove_prefix(1);
  while (!suffix.empty() && suffix.back() == ' ')
    suffix.remove_suffix(1);
  for (int unit = 0; unit < kUnitCount; ++unit) {
    const std::optional<BaseUnit> base = BaseUnitOf(unit);
    if (base && suffix == UnitSuffix(unit))
      return SiValue{ScaledDecimal(std::string(at, parsed.ptr), base->power_of_ten), base->unit};
  }
  return std::nullopt;
}

std::string FormatSiNumber(double value) {
  if (!std::isfinite(value))
    return {};
  // Plain decimals for the magnitudes of a bench, exponents beyond them.
  const double magnitude = std::fabs(value);
  const auto format = magnitude == 0 || (magnitude >= 1e-5 && magnitude < 1e15)
                          ? std::chars_format::fixed
                          : std::chars_format::scientific;
  char text[400];
  const auto written = std::to_chars(text, text + sizeof text, value, format);
  return std::string(text, written.ptr);
}

std::string FormatSignificant(double value, int digits) {
  if (!std::isfinite(value))
    return {};
  char text[64];
  const auto written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
  return std::string(text, written.ptr);
}

}  // namespace korvelane
