// SPDX-License-Identifier: GPL-3.0-or-later
// The time stamps that begin every log line.
#pragma once

#include <string>

#include "core/common/clock.h"

namespace korvelane {

// "%04d%02d%02d-%02d时%02d分%02d秒%03d毫秒——" in UTF-8; 32 bytes once written in code page 936.
std::string LogTimeStamp(const LocalTime& t);

// "%04d%02d%02d-%02dH%02dM%02dS%03dms——", used for one line of the operate log.
std::string LogTimeStampLatin(const LocalTime& t);

}  // namespace korvelane
