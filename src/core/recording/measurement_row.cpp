// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recording/measurement_row.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/views/measurement_column.h"
#include "core/views/measurement_si.h"
#include "core/views/pass_fail_setting.h"
#include "core/views/wave_slots.h"

namespace korvelane {
namespace {

constexpr int kFieldCount = 3 + 2 * kMeasurementItemCount;
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(int year, int month, int day) {
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<long long>(era) * 146097 + doe - 719468;
}

bool ReadInt(std::string_view text, size_t at, size_t width, int& out) {
  if (at + width > text.size())
    return false;
  const char* first = text.data() + at;
  const auto read = std::from_chars(first, first + width, out);
  return read.ec == std::errc() && read.ptr == first + width;
}

// "YYYY-MM-DDTHH:MM:SS.mmm+HH:MM" back into a local time with its offset.
std::optional<LocalTime> ParseIsoTime(std::string_view text) {
  LocalTime t;
  int offset_hours = 0;
  int offset_minutes = 0;
  if (text.size() != 29 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || text[19] != '.' || text[26] != ':' || (text[23] != '+' && text[23] != '-'))
    return std::nullopt;
  if (!ReadInt(text, 0, 4, t.year) || !ReadInt(text, 5, 2, t.month) ||
      !ReadInt(text, 8, 2, t.day) || !ReadInt(text, 11, 2, t.hour) ||
      !ReadInt(text, 14, 2, t.minute) || !ReadInt(text, 17, 2, t.second) ||
      !ReadInt(text, 20, 3, t.millisecond) || !ReadInt(text, 24, 2, offset_hours) ||
      !ReadInt(text, 27, 2, offset_minutes))
    return std::nullopt;
  t.utc_offset_minutes = (offset_hours * 60 + offset_minutes) * (text[23] == '-' ? -1 : 1);
  return t;
}

std::optional<bool> ParseVerdict(std::string_view text) {
  if (text == kPass)
    return true;
  if (text == kFail)
    return false;
  return std::nullopt;
}

}  // namespace

const char* MeasurementItemUnit(int item) {
  // The base unit of the units its limits are offered in.
  const std::optional<SiValue> unit = ParseSiText("1" + LimitUnitFamily(item).front());
  return unit ? unit->unit : "";
}

std::string IsoLocalTime(const LocalTime& t) {
  const int offset = t.utc_offset_minutes < 0 ? -t.utc_offset_minutes : t.utc_offset_minutes;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.millisecond,
                t.utc_offset_minutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return text;
}

double SecondsSinceEpoch(const LocalTime& t) {
  const long long seconds = DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 +
                            t.minute * 60 + t.second - t.utc_offset_minutes * 60;
  return static_cast<double>(seconds) + t.millisecond / 1000.0;
}

MeasurementSample SampleOfChannel(const LocalTime& t, int channel, ByteView records,
                                  const PassFailLimits& limits) {
  MeasurementSample sample;
  sample.time = SecondsSinceEpoch(t);
  sample.channel = channel;
  sample.overall_pass = true;
  for (int item = 0; item < kMeasurementItemCount; ++item) {
    const auto i = static_cast<size_t>(item);
    const MeasurementRecord record = DecodeMeasurementRecord(records, item);
    const std::optional<SiValue> value = MeasurementSiValue(record);
    sample.values[i] = value ? value->value : kNoValue;
    sample.pass[i] = MeasurementVerdict(record, limits[i]) == std::string_view(kPass);
    sample.overall_pass = sample.overall_pass && sample.pass[i];
  }
  return sample;
}

std::string RecordingHeader() {
  std::string header = "Time (ISO 8601 local),Channel";
  for (int item = 0; item < kMeasurementItemCount; ++item) {
    const std::string name = MeasurementItems[item];
    header += "," + name + " (" + MeasurementItemUnit(item) + ")," + name + " verdict";
  }
  return header + ",Verdict\n";
}

std::string RecordingRow(const LocalTime& t, const MeasurementSample& sample) {
  std::string row = IsoLocalTime(t);
  row.reserve(256);
  row += ',';
  row += SlotColumnName(sample.channel);
  for (size_t i = 0; i < sample.values.size(); ++i) {
    row += ',';
    if (!std::isnan(sample.values[i]))
      row += FormatSiNumber(sample.values[i]);
    row += ',';
    row += sample.pass[i] ? kPass : kFail;
  }
  row += ',';
  row += sample.overall_pass ? kPass : kFail;
  row += '\n';
  return row;
}

std::optional<MeasurementSample> ParseRecordingRow(std::string_view line) {
  if (!line.empty() && line.back() == '\r')
    line.remove_suffix(1);
  std::string_view fields[kFieldCount];
  int count = 0;
  for (size_t start = 0;; ++count) {
    const size_t comma = line.find(',', start);
    if (count == kFieldCount)
      return std::nullopt;
    fields[count] = line.substr(start, comma == std::string_view::npos ? comma : comma - start);
    if (comma == std::string_view::npos)
      break;
    start = comma + 1;
  }
  if (count + 1 != kFieldCount)
    return std::nullopt;
  const std::optional<LocalTime> time = ParseIsoTime(fields[0]);
  const std::optional<bool> overall = ParseVerdict(fields[kFieldCount - 1]);
  if (!time || !overall || (fields[1] != "CH1" && fields[1] != "CH2"))
    return std::nullopt;
  MeasurementSample sample;
  sample.time = SecondsSinceEpoch(*time);
  sample.channel = fields[1] == "CH1" ? 1 : 2;
  sample.overall_pass = *overall;
  for (size_t i = 0; i < sample.values.size(); ++i) {
    const std::string_view value = fields[2 + 2 * i];
    const std::optional<bool> pass = ParseVerdict(fields[3 + 2 * i]);
    if (!pass)
      return std::nullopt;
    sample.pass[i] = *pass;
    sample.values[i] = kNoValue;
    if (!value.empty()) {
      const auto read =
          std::from_chars(value.data(), value.data() + value.size(), sample.values[i]);
      if (read.ec != std::errc() || read.ptr != value.data() + value.size())
        return std::nullopt;
    }
  }
  return sample;
}

}  // namespace korvelane
