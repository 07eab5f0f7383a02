// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Graph as a picture file: PNG as pixels, SVG and PDF as vector drawings of the traces,
// the graticule and the level markers, each with a caption line under the graph.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <optional>

#include "core/files/export_commands.h"

namespace korvelane {

class ScopeGraph;

// The size of the picture of `graph` as shown: the graph and the caption strip under it.
QSize ShownPictureSize(const ScopeGraph& graph);

// The bytes of the picture file of `graph` of `size` in all (as shown when empty), `caption` in
// the strip at its foot and the graph above it; nothing when it cannot be drawn.
std::optional<QByteArray> GraphPictureBytes(ScopeGraph& graph, PictureFormat format,
                                            const QString& caption, QSize size = {});

}  // namespace korvelane
