// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows offer the device layer: routines of the main window and the views that the
// connection and acquisition commands call. Every routine has a harmless default, so a window
// overrides only what it provides.
#pragma once

#include <cstdint>
#include <string>

namespace korvelane {

// The Wave Graph view's request check boxes, read at the start of every refresh.
struct RequestOptions {
  bool ch1_measure = false;   // "Measure" box "CH1 "
  bool ch2_measure = false;   // "Measure" box "CH2"
  bool get_all_data = false;  // "GetAllData" box
};

class DeviceHooks {
 public:
  virtual ~DeviceHooks() = default;

  // Identifies the main window for UsbOpen.
  virtual uintptr_t WindowHandle() { return 0; }
  // Enables or disables the base operation bar's "Upload" and "Download" buttons.
  virtual void EnableSettingButtons(bool enable) { (void)enable; }
  // Stops the refresh timer (timer 1) and clears `auto_refresh`.
  virtual void StopRefreshTimer() {}
  // Enables the Wave Graph view's "Auto" button and disables "Manu" (or the reverse).
  virtual void SetAutoButtonEnabled(bool auto_enabled) { (void)auto_enabled; }
  // The Wave Graph view's check boxes.
  virtual RequestOptions ReadRequestOptions() { return {}; }
  // Redraws the Wave Graph view (and the lists it feeds) from the store.
  virtual void RedrawWaveGraph() {}
  // Redraws the virtual front panel's lamps when the panel is open.
  virtual void UpdatePanelLamps() {}
};

// Where a fetched screen bitmap goes: the DSO Bitmap view.
class BitmapTarget {
 public:
  virtual ~BitmapTarget() = default;
  // Loads the bitmap file at `path` into the view without changing its title.
  virtual void LoadBitmapFile(const std::string& path) = 0;
  // Sets and shows the view's title.
  virtual void SetTitle(const std::string& title) = 0;
};

}  // namespace korvelane
