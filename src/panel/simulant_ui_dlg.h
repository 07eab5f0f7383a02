// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual front panel window "Virtual Pane": the instrument's keys, knobs and lamps, shown
// modally by the main window's "Simulant Pane" command. What each control does lives in
// SimulantPanel; this class lays the controls out and shows what the panel tells it.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <map>

#include "core/panel/simulant_panel.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QPushButton;

namespace korvelane {

class KnobArrows;
class LampButton;

class CSimulantUIDlg : public QDialog, private PanelView {
  Q_OBJECT

 public:
  // Runs one action of the panel that talks to the instrument; the main window uses it to bring
  // its commands and lamps up to date after the action.
  using ActionRunner = std::function<void(const std::function<void()>&)>;

  // Builds the panel and, without automatic refresh, fetches the lamp states first.
  explicit CSimulantUIDlg(const PanelContext& context, QWidget* parent = nullptr,
                          ActionRunner runner = {});
  ~CSimulantUIDlg() override;

  // Redraws the lamps from the store; the refresh timer calls it after each automatic refresh.
  void UpdatePanelLamps() { panel_.UpdatePanelLamps(); }

  SimulantPanel& panel() { return panel_; }

  // The controls, by what they send.
  QAbstractButton* key_button(uint8_t code) const;  // ordinary and lamp keys
  LampButton* lamp_button(int lamp) const;          // by PanelLamp
  LampButton* indicator() const { return indicator_; }
  QAbstractButton* knob_arrow(int knob, int direction) const;
  QAbstractButton* knob_press_button(uint8_t code) const;
  QPushButton* knob_done_button() const { return knob_done_; }
  QPushButton* refresh_button() const { return refresh_; }
  QPushButton* close_button() const { return close_; }
  QLabel* current_knob_label() const { return current_knob_; }
  QLabel* knob_scale_label() const { return knob_scale_; }

 private:
  // PanelView
  void SetLampColours(int lamp, const LampColours& colours) override;
  void SetIndicator(bool on) override;
  void ShowKnobTexts(const std::string& current_knob, const std::string& knob_scale) override;
  LampColour ButtonFaceColour() const override;

  void Run(const std::function<void()>& action);

  // The sections of the panel, top to bottom.
  QWidget* BuildHorizontal();
  QWidget* BuildRunControl();
  QWidget* BuildTopRow();
  QWidget* BuildMenuKeys();
  QWidget* BuildVertical();
  QWidget* BuildRightColumn();
  QWidget* BuildTrigger();
  QWidget* BuildKnobStatus();

  QAbstractButton* Key(uint8_t code);
  KnobArrows* Knob(int knob, const QString& caption);
  QAbstractButton* KnobPress(uint8_t code);
  QGroupBox* Group(const QString& title, const QString& accessible_name);

  SimulantPanel panel_;
  ActionRunner runner_;
  std::map<uint8_t, QAbstractButton*> keys_;
  std::map<int, LampButton*> lamps_;
  std::map<int, KnobArrows*> knobs_;
  std::map<uint8_t, QAbstractButton*> knob_presses_;
  LampButton* indicator_ = nullptr;
  QLabel* current_knob_ = nullptr;
  QLabel* knob_scale_ = nullptr;
  QPushButton* knob_done_ = nullptr;
  QPushButton* refresh_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace korvelane
