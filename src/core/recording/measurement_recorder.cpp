// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recording/measurement_recorder.h"

#include <algorithm>

namespace korvelane {

MeasurementRecorder::MeasurementRecorder(ViewTables& tables, const AcquisitionStore& store,
                                         const Clock& clock, DebugLog& debug_log, UserInterface& ui)
    : tables_(tables), store_(store), clock_(clock), debug_log_(debug_log), ui_(ui) {
  tables_.AddListener(this);
}

MeasurementRecorder::~MeasurementRecorder() {
  tables_.RemoveListener(this);
}

bool MeasurementRecorder::Start(const std::string& path) {
  Stop();
  std::string reason;
  if (!file_.Open(path, reason) ||
      (file_.was_empty() && !file_.Append(RecordingHeader(), reason))) {
    Fail("The recording file can't be opened: " + path, "打开测量记录文件失败：" + path, reason);
    return false;
  }
  path_ = path;
  rows_ = 0;
  SetState(State::kRecording);
  return true;
}

void MeasurementRecorder::Stop() {
  file_.Close();
  SetState(State::kIdle);
}

void MeasurementRecorder::SetInstrumentBound(bool bound) {
  if (!bound && state_ == State::kRecording)
    SetState(State::kPaused);
}

std::string MeasurementRecorder::StatusText() const {
  switch (state_) {
    case State::kRecording:
      return "Recording: " + std::to_string(rows_) + " rows";
    case State::kPaused:
      return "Recording paused: " + std::to_string(rows_) + " rows";
    case State::kIdle:
      break;
  }
  return {};
}

void MeasurementRecorder::AddObserver(RecorderObserver* observer) {
  if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void MeasurementRecorder::RemoveObserver(RecorderObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void MeasurementRecorder::ChannelMeasured(int channel) {
  if (state_ == State::kIdle)
    return;
  const LocalTime now = clock_.Now();
  const ChannelData& data = store_.channel(channel);
  const MeasurementSample sample = SampleOfChannel(
      now, channel, ByteView(data.measure.data(), data.measure.size()), tables_.limits);
  std::string reason;
  if (!file_.Append(RecordingRow(now, sample), reason)) {
    Fail("Writing the recording file failed, the recording has stopped: " + path_,
         "写入测量记录文件失败，记录已停止：" + path_, reason);
    return;
  }
  ++rows_;
  state_ = State::kRecording;
  for (size_t i = 0; i < observers_.size(); ++i)
    observers_[i]->SampleRecorded(sample);
  NotifyChanged();
}

void MeasurementRecorder::Fail(const std::string& message, const std::string& log_text,
                               const std::string& reason) {
  Stop();
  debug_log_.WriteDebugLog(log_text + "（" + reason + "）", kWarning);
  ui_.ShowMessage(message + "\n" + reason, "Error", MessageIcon::kExclamation);
}

void MeasurementRecorder::SetState(State state) {
  if (state_ == state)
    return;
  state_ = state;
  NotifyChanged();
}

void MeasurementRecorder::NotifyChanged() {
  for (size_t i = 0; i < observers_.size(); ++i)
    observers_[i]->RecorderChanged();
}

}  // namespace korvelane
