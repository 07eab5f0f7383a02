// SPDX-License-Identifier: GPL-3.0-or-later
// Command ids of the main window's menu and toolbar.
#pragma once

namespace korvelane {

enum CommandId : int {
  kCmdSimulantPane = 32809,
  kCmdConnect = 32810,
  kCmdDisconnect = 32811,
  kCmdExit = 32813,
  kCmdToolBar = 32814,
  kCmdStatusBar = 32815,
  kCmdBaseControlPanel = 32816,
  kCmdInterval05s = 32817,
  kCmdInterval1s = 32818,
  kCmdInterval2s = 32819,
  kCmdInterval3s = 32820,
  kCmdInterval5s = 32821,
  kCmdInterval10s = 32822,
  kCmdIntervalCustom = 32823,
  kCmdOperateFile = 32825,
  kCmdDefaultSetting = 32826,
  kCmdAbout = 32828,
  kCmdPathSetting = 32831,
  kCmdTestLinkState = 32834,
  kCmdInstrument = 32840,  // "Instrument...": which instrument to talk to
  kCmdFastExchange = 32841,
};

}  // namespace korvelane
