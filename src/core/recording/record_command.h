// SPDX-License-Identifier: GPL-3.0-or-later
// The Measurement view's "Record..." button: starts recording into a CSV file the user chooses,
// or stops the recording under way.
#pragma once

#include <string>

#include "core/logs/operate_log.h"
#include "core/recording/measurement_recorder.h"

namespace korvelane {

class RecordingForm {
 public:
  virtual ~RecordingForm() = default;
  // The file to record into, or an empty text when the user cancelled.
  virtual std::string ChooseRecordingFile() = 0;
  // Whether the rows go at the end of the existing file `path`; false leaves the file alone.
  virtual bool AskAppend(const std::string& path) = 0;
};

// While recording: stops. Otherwise asks for the file (".csv" is added when the name lacks it),
// asks before appending to a file that exists, and starts recording.
void PressRecord(MeasurementRecorder& recorder, OperateLog& operate_log, RecordingForm& form);

}  // namespace korvelane
