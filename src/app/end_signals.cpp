// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/end_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace korvelane {
namespace {

sigset_t EndSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP})
    sigaddset(&set, signal_number);
  return set;
}

}  // namespace

void EndSignals::Block() {
  const sigset_t set = EndSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
  const sigset_t set = EndSignalSet();
  fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0)
    return;
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::ReadPending);
}

EndSignals::~EndSignals() {
  delete notifier_;
  if (fd_ >= 0)
    close(fd_);
}

void EndSignals::ReadPending() {
  signalfd_siginfo info{};
  while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
    emit Received(static_cast<int>(info.ssi_signo));
}

}  // namespace korvelane
