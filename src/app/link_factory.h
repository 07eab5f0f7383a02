// SPDX-License-Identifier: GPL-3.0-or-later
// The link named on the command line: "sim", "socket:PATH" or "usb[:VID:PID]".
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/protocol/usb_link.h"
#include "core/shell/device_choice.h"

namespace korvelane {

// The ids that "usb" without ids stands for: "VID:PID" as configured when the program was built,
// or empty.
std::string BuildTimeUsbIds();

// The build-time ids, when there are any.
std::optional<UsbIds> BuildTimeIds();

// Fills in `build_ids` ("VID:PID" or empty) when `choice` is USB without ids of its own. False
// when `build_ids` is not of that form.
bool ApplyDefaultUsbIds(DeviceChoice& choice, const std::string& build_ids);

// A new link of the kind named. "sim" makes an instrument of its own inside the link; "usb"
// without ids takes the build-time ids, and when there are none the link cannot open anything:
// `note` then says how to name the instrument (empty otherwise). The USB link writes its
// failures to the debug log in the program's folder.
std::unique_ptr<UsbLink> MakeLink(const DeviceChoice& choice, std::string& note);

}  // namespace korvelane
