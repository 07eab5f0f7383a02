// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

namespace korvelane {

QString SingleInstance::DefaultLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty())
    folder = QDir::tempPath();
  return folder + QStringLiteral("/Korvelane-%1.lock").arg(getuid());
}

SingleInstance::SingleInstance(const QString& lock_path)
    : lock_(std::make_unique<QLockFile>(lock_path)) {
  // Only a lock whose owner has gone is stale, however old it is.
  lock_->setStaleLockTime(0);
}

bool SingleInstance::Acquire() {
  return lock_->tryLock(0);
}

}  // namespace korvelane
