// SPDX-License-Identifier: GPL-3.0-or-later
// The colour of each wave slot: its plot on the graph and the label of its "Graph Show" box.
#pragma once

#include <QColor>

namespace korvelane {

// Slot 1..7: yellow, cyan, magenta, red, green, blue, dark green; white for another number.
QColor SlotColor(int slot);

}  // namespace korvelane
