// SPDX-License-Identifier: GPL-3.0-or-later
// The checks the program's dialogs make when they read their fields, and the messages that
// refuse a bad entry. A refused dialog stays open with the focus on the field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvelane {

// Title of the refusal boxes: the program's name.
constexpr const char* kFieldRefusalCaption = "Korvelane";

// Checks a whole-number field: an optional sign and decimal digits, with blanks around them.
// Returns "" and sets `value` when the number lies in `minimum`..`maximum`; otherwise returns
// the refusal, which names the range when the entry is a number.
std::string CheckIntField(std::string_view text, int minimum, int maximum, int* value);

// Checks a text field with room for `max_chars` characters (bytes). "" when it fits, otherwise
// the refusal.
std::string CheckTextLength(std::string_view text, size_t max_chars);

}  // namespace korvelane
