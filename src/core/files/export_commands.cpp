// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/export_commands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/files/file_io.h"
#include "core/files/wave_export.h"
#include "core/protocol/model_table.h"

namespace korvelane {
namespace {

constexpr const char* kErrorTitle = "Error";
constexpr const char* kWriteFailedLog = "导出文件失败";
constexpr const char* kNameLog = "导出文件名没有正确的扩展名";
constexpr const char* kNoDataLog = "导出失败：没有数据";

// True when the file name of `path` ends in `extension` (".csv"), in any case.
bool EndsWithExtension(const std::string& path, const std::string& extension) {
  if (path.size() <= extension.size())
    return false;
  return std::equal(extension.rbegin(), extension.rend(), path.rbegin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

std::vector<uint8_t> TextBytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const std::string& path) {
  if (EndsWithExtension(path, ".png"))
    return PictureFormat::kPng;
  if (EndsWithExtension(path, ".svg"))
    return PictureFormat::kSvg;
  if (EndsWithExtension(path, ".pdf"))
    return PictureFormat::kPdf;
  return std::nullopt;
}

std::string GraphCaption(const LocalTime& now, int product_type) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  const char* model = ModelText(product_type);
  return std::string("Korvelane Wave Graph  ") + stamp + "  " +
         (model ? model : "instrument not known");
}

ExportCommands::ExportCommands(const ViewContext& context, FileChooser& chooser)
    : context_(context), chooser_(chooser) {}

void ExportCommands::Refuse(const std::string& message, const char* log_text) {
  context_.debug_log.WriteDebugLog(log_text, kWarning);
  context_.ui.ShowMessage(message, kErrorTitle, MessageIcon::kInformation);
}

bool ExportCommands::Export(
    const char* action, int kind, const char* extension_message,
    const std::function<bool(const std::string&)>& accepted,
    const std::function<std::optional<std::vector<uint8_t>>(const std::string&)>& content) {
  const std::string path = chooser_.ChooseFileToSave(kind);
  if (path.empty())
    return false;
  if (!accepted(path)) {
    Refuse(extension_message, kNameLog);
    return false;
  }
  UserInterface& ui = context_.ui;
  ui.SetWaitCursor(true);
  const std::optional<std::vector<uint8_t>> bytes = content(path);
  const bool written = bytes && WriteWholeFile(path, *bytes);
  ui.SetWaitCursor(false);
  if (!written) {
    Refuse("Try to export the file failed! It cannot be written: " + path, kWriteFailedLog);
    return false;
  }
  context_.operate_log.RecordOperation(std::string(action) + " successed！");
  return true;
}

bool ExportCommands::ExportWaveCsv() {
  const char* action = "Export Wave Data CSV file";
  context_.operate_log.RecordOperation(action);
  const WaveExport waves = CollectExportedWaves(context_.tables, context_.store);
  if (waves.waves.empty()) {
    Refuse("There is no Wave Data for export!", kNoDataLog);
    return false;
  }
  return Export(
      action, file_kind::kWaveCsvExport, "The file name needs the extension .csv!",
      [](const std::string& path) { return EndsWithExtension(path, ".csv"); },
      [&waves](const std::string&) { return TextBytes(WaveCsvText(waves)); });
}

bool ExportCommands::ExportMeasurementCsv() {
  const char* action = "Export Wave Measurement CSV file";
  context_.operate_log.RecordOperation(action);
  const std::string text = MeasurementCsvText(context_.tables, context_.store);
  if (text.empty()) {
    Refuse("There is no measurement for export!", kNoDataLog);
    return false;
  }
  return Export(
      action, file_kind::kMeasurementCsvExport, "The file name needs the extension .csv!",
      [](const std::string& path) { return EndsWithExtension(path, ".csv"); },
      [&text](const std::string&) { return TextBytes(text); });
}

bool ExportCommands::ExportGraph(const PictureRenderer& render) {
  const char* action = "Export Wave Graph picture";
  context_.operate_log.RecordOperation(action);
  return Export(
      action, file_kind::kGraphExport, "The file name needs the extension .png, .svg or .pdf!",
      [](const std::string& path) { return PictureFormatOf(path).has_value(); },
      [&render](const std::string& path) { return render(*PictureFormatOf(path)); });
}

}  // namespace korvelane
