// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_settings_store.h"

namespace korvelane {
namespace {
const QString kGroup = QStringLiteral("Settings");
}

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QStringLiteral("Dentrallo Korvelane Application"),
                                            QStringLiteral("Korvelane"))) {}

bool QtSettingsStore::KeyExists() {
  settings_->sync();
  return settings_->status() == QSettings::NoError && settings_->childGroups().contains(kGroup);
}

bool QtSettingsStore::OpenForRead() {
  return KeyExists();
}

bool QtSettingsStore::OpenForWrite() {
  return KeyExists() && settings_->isWritable();
}

bool QtSettingsStore::Create() {
  if (!settings_->isWritable())
    return false;
  settings_->beginGroup(kGroup);
  settings_->endGroup();
  return true;
}

std::optional<std::string> QtSettingsStore::ReadText(const std::string& name) {
  const QString key = kGroup + '/' + QString::fromStdString(name);
  if (!settings_->contains(key))
    return std::nullopt;
  return settings_->value(key).toString().toStdString();
}

std::optional<int> QtSettingsStore::ReadInt(const std::string& name) {
  const QString key = kGroup + '/' + QString::fromStdString(name);
  if (!settings_->contains(key))
    return std::nullopt;
  bool ok = false;
  const int value = settings_->value(key).toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

bool QtSettingsStore::Write(const std::string& name, const QVariant& value) {
  settings_->setValue(kGroup + '/' + QString::fromStdString(name), value);
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

bool QtSettingsStore::WriteText(const std::string& name, const std::string& value) {
  return Write(name, QString::fromStdString(value));
}

bool QtSettingsStore::WriteInt(const std::string& name, int value) {
  return Write(name, value);
}

void QtSettingsStore::Close() {
  settings_->sync();
}

}  // namespace korvelane
