// SPDX-License-Identifier: GPL-3.0-or-later
// One running Korvelane per user.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace korvelane {

class SingleInstance {
 public:
  // The lock of the current user: in the runtime folder when there is one, else the temp folder.
  static QString DefaultLockPath();

  explicit SingleInstance(const QString& lock_path = DefaultLockPath());

  // True when this process now holds the lock. A lock left by a process that is no longer
  // running is taken over.
  bool Acquire();

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace korvelane
