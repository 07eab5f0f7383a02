// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instrument_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include "widgets/dialog_buttons.h"

namespace korvelane {
namespace {

// Each entry carries its choice in the --device syntax; the socket entry's path is in the field.
constexpr int kKeyRole = Qt::UserRole;
constexpr int kDeviceRole = Qt::UserRole + 1;  // index into the device list, USB entries only
const QString kSimKey = QStringLiteral("sim");
const QString kSocketKey = QStringLiteral("socket:");

QString UsbKey(const UsbIds& ids) {
  return QString::fromStdString("usb:" + FormatUsbIds(ids));
}

}  // namespace

InstrumentDialog::InstrumentDialog(const InstrumentAccess& access, const DeviceChoice& preset,
                                   std::function<void(const QString&)> notice, QWidget* parent)
    : QDialog(parent),
      access_(access),
      notice_(std::move(notice)),
      choice_(preset),
      list_(new QListWidget),
      socket_path_(new QLineEdit),
      access_note_(new QLabel(QStringLiteral(
          "This user may not open the instrument. Install this udev rule with the two commands "
          "below, then plug the instrument in again:"))),
      rule_text_(new QPlainTextEdit),
      copy_(new QPushButton(QStringLiteral("Copy"))) {
  setWindowTitle(QStringLiteral("Instrument"));
  setAccessibleName(windowTitle());
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QStringLiteral("The instrument to talk to:"));
  heading->setBuddy(list_);
  layout->addWidget(heading);
  list_->setAccessibleName(QStringLiteral("Instruments"));
  layout->addWidget(list_);
  socket_path_->setAccessibleName(QStringLiteral("Socket path"));
  socket_path_->setPlaceholderText(QStringLiteral("/tmp/dso.sock"));
  layout->addWidget(socket_path_);
  access_note_->setWordWrap(true);
  layout->addWidget(access_note_);
  rule_text_->setReadOnly(true);
  rule_text_->setAccessibleName(QStringLiteral("udev rule"));
  rule_text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(rule_text_);
  copy_->setAccessibleName(QStringLiteral("Copy"));
  copy_->setAutoDefault(false);
  layout->addWidget(copy_, 0, Qt::AlignLeft);
  layout->addWidget(OkCancelButtons(this));
  connect(copy_, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(rule_text_->toPlainText()); });
  connect(list_, &QListWidget::currentItemChanged, this, &InstrumentDialog::SelectionChanged);
  setMinimumWidth(640);

  if (preset.kind == DeviceChoice::kSocket)
    socket_path_->setText(QString::fromStdString(preset.socket_path));
  const QString key = preset.kind == DeviceChoice::kSocket
                          ? kSocketKey
                          : QString::fromStdString(FormatDeviceChoice(preset));
  Fill(key);
  if (access_.watch_usb) {
    watch_ = access_.watch_usb([this] {
      QMetaObject::invokeMethod(this, &InstrumentDialog::Refresh, Qt::QueuedConnection);
    });
  }
}

InstrumentDialog::~InstrumentDialog() {
  watch_.reset();  // no plug event may come once the dialog goes
}

QString InstrumentDialog::SelectedKey() const {
  const QListWidgetItem* item = list_->currentItem();
  return item ? item->data(kKeyRole).toString() : QString();
}

void InstrumentDialog::Refresh() {
  Fill(SelectedKey());
}

void InstrumentDialog::Fill(const QString& selected) {
  devices_ = access_.list_usb ? access_.list_usb() : std::vector<transport::UsbDeviceInfo>{};
  const QSignalBlocker block(list_);
  list_->clear();
  QListWidgetItem* current = nullptr;
  for (size_t i = 0; i < devices_.size(); ++i) {
    const transport::UsbDeviceInfo& device = devices_[i];
    const bool candidate = transport::IsInstrumentCandidate(device);
    auto* item =
        new QListWidgetItem(QString::fromStdString(transport::FormatDeviceLine(device)) +
                                (candidate ? QString() : QStringLiteral("  (not an instrument)")),
                            list_);
    item->setData(kKeyRole, UsbKey(device.ids));
    item->setData(kDeviceRole, static_cast<int>(i));
    if (!candidate)
      item->setFlags(Qt::NoItemFlags);
    else if (!current && item->data(kKeyRole).toString() == selected)
      current = item;
  }
  auto* sim = new QListWidgetItem(QStringLiteral("Simulated instrument"), list_);
  sim->setData(kKeyRole, kSimKey);
  auto* socket = new QListWidgetItem(QStringLiteral("Instrument on a socket:"), list_);
  socket->setData(kKeyRole, kSocketKey);
  if (!current && selected == kSimKey)
    current = sim;
  if (!current && selected == kSocketKey)
    current = socket;
  list_->setCurrentItem(current);
  SelectionChanged();
}

void InstrumentDialog::SelectionChanged() {
  const QListWidgetItem* item = list_->currentItem();
  const QString key = SelectedKey();
  socket_path_->setEnabled(key == kSocketKey);
  const bool usb = item && item->data(kDeviceRole).isValid();
  const bool denied =
      usb && devices_[static_cast<size_t>(item->data(kDeviceRole).toInt())].access ==
                 transport::UsbDeviceInfo::Access::kNoPermission;
  if (denied) {
    const transport::UsbDeviceInfo& device =
        devices_[static_cast<size_t>(item->data(kDeviceRole).toInt())];
    rule_text_->setPlainText(QString::fromStdString(transport::UdevInstructions(device.ids)));
  } else {
    rule_text_->clear();
  }
  access_note_->setVisible(denied);
  rule_text_->setVisible(denied);
  copy_->setVisible(denied);
}

void InstrumentDialog::accept() {
  QString key = SelectedKey();
  if (key.isEmpty()) {
    if (notice_)
      notice_(QStringLiteral("Choose an instrument from the list."));
    return;
  }
  if (key == kSocketKey)
    key += socket_path_->text();
  std::string error;
  const std::optional<DeviceChoice> choice = ParseDeviceChoice(key.toStdString(), error);
  if (!choice) {
    if (notice_)
      notice_(QString::fromStdString(error));
    socket_path_->setFocus();
    return;
  }
  choice_ = *choice;
  QDialog::accept();
}

}  // namespace korvelane
