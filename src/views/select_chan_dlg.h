// SPDX-License-Identifier: GPL-3.0-or-later
// "Select the Chan": the slot a wave file is written from, chosen before every save of a wave
// data, wave measurement or wave graph file. Only slots with the saving view's data can be
// chosen.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "core/views/select_chan.h"
#include "core/views/view_tables.h"
#include "views/dialog_runner.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace korvelane {

class CSelectChanDlg : public QDialog {
  Q_OBJECT

 public:
  CSelectChanDlg(const WaveSlotTable& slot_table, SelectChanMode mode, QWidget* parent = nullptr);

  SelectChanMode mode() const { return mode_; }
  // The radio checked now, 0..6; radio i stands for slot i + 1.
  int selection() const;
  QRadioButton* radio(int index) const;
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }

 private:
  SelectChanMode mode_;
  QButtonGroup* group_ = nullptr;
  std::array<QRadioButton*, kSlotCount> radios_{};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// Runs "Select the Chan" in `mode` through `run_dialog` (QDialog::exec when empty). OK: returns
// the chosen slot 1..7 and keeps slot - 1 in `tables.selected_channel`, for the file writers.
// Cancel: returns nothing and leaves `selected_channel` alone.
std::optional<int> SelectChannel(ViewTables& tables, SelectChanMode mode,
                                 const DialogRunner& run_dialog, QWidget* parent = nullptr);

}  // namespace korvelane
