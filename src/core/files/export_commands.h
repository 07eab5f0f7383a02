// SPDX-License-Identifier: GPL-3.0-or-later
// Exports for other programs: the waves of the Wave Data list and the measurements as CSV in
// physical units, and the graph as a picture. Each is one whole-file write that leaves an
// existing file untouched when it fails, and is recorded in the operate log.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/files/file_chooser.h"
#include "core/views/view_context.h"

namespace korvelane {

enum class PictureFormat { kPng, kSvg, kPdf };

// The picture format a path names by its extension (".png", ".svg", ".pdf", any case); nothing
// for another name.
std::optional<PictureFormat> PictureFormatOf(const std::string& path);

// The caption of an exported graph: "Korvelane Wave Graph  2026-12-07 05:10:33  " and the model
// text of the instrument, or "instrument not known" before one has answered.
std::string GraphCaption(const LocalTime& now, int product_type);

class ExportCommands {
 public:
  // The picture of the graph in a format; nothing when it cannot be made.
  using PictureRenderer = std::function<std::optional<std::vector<uint8_t>>(PictureFormat)>;

  ExportCommands(const ViewContext& context, FileChooser& chooser);

  // The Wave Data list's "Export CSV (seconds, volts)...". True when a file was written.
  bool ExportWaveCsv();
  // The Wave Measurement view's "Export CSV...". True when a file was written.
  bool ExportMeasurementCsv();
  // "Export Graph...": PNG, SVG or PDF by the chosen name's extension. True when written.
  bool ExportGraph(const PictureRenderer& render);

 private:
  // Asks for a name of `kind`; refuses one that `accepted` turns down, then writes what
  // `content` makes of it. `action` is the operate-log text; success adds " successed！".
  bool Export(
      const char* action, int kind, const char* extension_message,
      const std::function<bool(const std::string&)>& accepted,
      const std::function<std::optional<std::vector<uint8_t>>(const std::string&)>& content);
  void Refuse(const std::string& message, const char* log_text);

  ViewContext context_;
  FileChooser& chooser_;
};

}  // namespace korvelane
