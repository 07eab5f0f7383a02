// SPDX-License-Identifier: GPL-3.0-or-later
// Model texts of the instrument family, by product type.
#pragma once

#include <cstdint>

namespace korvelane {

// The model text of a product type, or nullptr for a type without an entry.
const char* ModelText(int product_type);

}  // namespace korvelane
