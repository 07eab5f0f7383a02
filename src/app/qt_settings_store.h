// SPDX-License-Identifier: GPL-3.0-or-later
// The settings key on QSettings: organisation "Dentrallo Korvelane Application", application
// "Korvelane", group "Settings".
#pragma once

#include <QSettings>
#include <memory>

#include "core/shell/settings.h"

namespace korvelane {

class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();

  bool OpenForRead() override;
  bool OpenForWrite() override;
  bool Create() override;
  std::optional<std::string> ReadText(const std::string& name) override;
  std::optional<int> ReadInt(const std::string& name) override;
  bool WriteText(const std::string& name, const std::string& value) override;
  bool WriteInt(const std::string& name, int value) override;
  void Close() override;

 private:
  bool Write(const std::string& name, const QVariant& value);
  bool KeyExists();

  std::unique_ptr<QSettings> settings_;
};

}  // namespace korvelane
