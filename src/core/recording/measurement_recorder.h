// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the measurements over time: every refresh that brings the measurements of a channel
// appends one row for it to a CSV file, written and flushed as it comes. A write error stops the
// recording; losing the instrument pauses it until measurements come again.
#pragma once

#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"
#include "core/recording/append_file.h"
#include "core/recording/measurement_row.h"
#include "core/views/view_tables.h"

namespace korvelane {

class RecorderObserver {
 public:
  virtual ~RecorderObserver() = default;
  // Started, stopped, paused, resumed, or a row was written.
  virtual void RecorderChanged() {}
  // A row was written for `sample`.
  virtual void SampleRecorded(const MeasurementSample& sample) { (void)sample; }
};

class MeasurementRecorder : private ViewTablesListener {
 public:
  enum class State { kIdle, kRecording, kPaused };

  MeasurementRecorder(ViewTables& tables, const AcquisitionStore& store, const Clock& clock,
                      DebugLog& debug_log, UserInterface& ui);
  ~MeasurementRecorder() override;
  MeasurementRecorder(const MeasurementRecorder&) = delete;
  MeasurementRecorder& operator=(const MeasurementRecorder&) = delete;

  // Starts appending rows to `path`; a new or empty file gets the header first. False, with a
  // message box and a debug-log line, when the file cannot be opened or written.
  bool Start(const std::string& path);
  // Ends the recording; the file keeps every row written.
  void Stop();
  // Called whenever the connection may have changed: a recording whose instrument is no longer
  // bound pauses; it resumes with the next measurements.
  void SetInstrumentBound(bool bound);

  State state() const { return state_; }
  bool recording() const { return state_ != State::kIdle; }
  long long rows_written() const { return rows_; }
  const std::string& path() const { return path_; }
  // "Recording: 12 rows" or "Recording paused: 12 rows"; empty while idle.
  std::string StatusText() const;

  // An observer stays registered until removed; it must be removed before it goes.
  void AddObserver(RecorderObserver* observer);
  void RemoveObserver(RecorderObserver* observer);

 private:
  void ChannelMeasured(int channel) override;
  // Ends the recording after a failed write or open of the file.
  void Fail(const std::string& message, const std::string& log_text, const std::string& reason);
  void SetState(State state);
  void NotifyChanged();

  ViewTables& tables_;
  const AcquisitionStore& store_;
  const Clock& clock_;
  DebugLog& debug_log_;
  UserInterface& ui_;
  AppendFile file_;
  State state_ = State::kIdle;
  long long rows_ = 0;
  std::string path_;
  std::vector<RecorderObserver*> observers_;
};

}  // namespace korvelane
