// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C in the terminal, the end of the session) as events of
// the event loop, so that the program ends through its own clean-up instead of where it stands.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace korvelane {

class EndSignals : public QObject {
  Q_OBJECT

 public:
  // Holds the three signals back from their default action in the calling thread and in every
  // thread it starts later: call it first thing in main, before any other thread exists.
  static void Block();

  // Receives the signals held back by Block; without Block they keep their default action.
  explicit EndSignals(QObject* parent = nullptr);
  ~EndSignals() override;

 signals:
  void Received(int signal_number);

 private:
  void ReadPending();

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace korvelane
