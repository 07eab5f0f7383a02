// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recording/record_command.h"

#include <sys/stat.h>

#include "core/files/file_io.h"

namespace korvelane {

void PressRecord(MeasurementRecorder& recorder, OperateLog& operate_log, RecordingForm& form) {
  if (recorder.recording()) {
    operate_log.RecordOperation("Stop recording the measurements");
    recorder.Stop();
    return;
  }
  operate_log.RecordOperation("Record the measurements");
  std::string path = form.ChooseRecordingFile();
  if (path.empty())
    return;
  if (!HasExtension(path, ".csv"))
    path += ".csv";
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !form.AskAppend(path))
    return;
  recorder.Start(path);
}

}  // namespace korvelane
