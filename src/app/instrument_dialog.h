// SPDX-License-Identifier: GPL-3.0-or-later
// "Instrument...": the USB devices attached (kept up to date while a device comes or goes),
// the simulated instrument and an instrument on a socket; for a USB device this user may not
// open, the udev rule that grants access, ready to copy.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "app/instrument_access.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

namespace korvelane {

class InstrumentDialog : public QDialog {
  Q_OBJECT

 public:
  // `preset`: the entry selected at first. `notice` tells the user why OK was refused.
  InstrumentDialog(const InstrumentAccess& access, const DeviceChoice& preset,
                   std::function<void(const QString&)> notice, QWidget* parent = nullptr);
  ~InstrumentDialog() override;

  // The entry chosen, valid after OK.
  const DeviceChoice& choice() const { return choice_; }

  // Lists the USB devices again, keeping the selection where the device is still there.
  void Refresh();

  QListWidget* list() const { return list_; }
  QLineEdit* socket_path() const { return socket_path_; }
  QPlainTextEdit* rule_text() const { return rule_text_; }
  QPushButton* copy_button() const { return copy_; }

  void accept() override;

 private:
  void Fill(const QString& selected);
  void SelectionChanged();
  QString SelectedKey() const;

  const InstrumentAccess& access_;
  std::function<void(const QString&)> notice_;
  std::vector<transport::UsbDeviceInfo> devices_;
  DeviceChoice choice_;
  QListWidget* list_;
  QLineEdit* socket_path_;
  QLabel* access_note_;
  QPlainTextEdit* rule_text_;
  QPushButton* copy_;
  std::unique_ptr<UsbPlugWatch> watch_;
};

}  // namespace korvelane
