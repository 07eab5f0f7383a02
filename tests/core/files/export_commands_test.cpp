// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV exports in physical units and the refusals every export shares.
#include "core/files/export_commands.h"

#include <gtest/gtest.h>

#include "../views/view_world.h"
#include "core/files/wave_export.h"
#include "core/protocol/unit_table.h"
#include "file_command_fakes.h"

namespace korvelane {
namespace {

using testing::ReadFileText;
using testing::Strings;

Strings Lines(const std::string& text) {
  Strings lines;
  size_t from = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
    lines.push_back(text.substr(from, at - from));
    from = at + 2;
  }
  EXPECT_EQ(from, text.size()) << "every line ends with CR LF";
  return lines;
}

class ExportTest : public testing::ViewWorld {
 protected:
  // CH1 on with 500 samples (code i % 200 + 18) at 1.00V/div, 0 V 100 units up, measured; CH2
  // on with 500 samples at 500.00mV/div but not measured; 500.00us/div.
  void ShowChannels() {
    for (int n = 1; n <= 2; ++n) {
      ChannelData& ch = store().channel(n);
      ch.enabled = true;
      ch.count = 500;
      ch.vert_pos = n == 1 ? 116 : 166;
      ch.volts_text = n == 1 ? "1.00V" : "500.00mV";
      for (int i = 0; i < kMaxSamples; ++i)
        ch.samples[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 200 + 18);
    }
    EncodeMeasurementRecord({true, 1500.0f, kUnitKhz, 3}, store().ch1.measure.data() + 3 * 16);
    EncodeMeasurementRecord({true, 12.34f, kUnitMv, 2}, store().ch1.measure.data());
    EncodeMeasurementRecord({false, 1.0f, kUnitMv, 2}, store().ch1.measure.data() + 4 * 16);
    store().timebase_value = 500.0f;
    store().timebase_unit = kUnitUs;
    store().sec_div_text = "500.00us";
    selectors().ch1_measure_wanted = 1;
    controller.RedrawWaveGraph();
  }

  // A loaded wave in `slot` with `count` samples of code 68 and the given scale texts.
  void LoadSlot(int slot, int count, const std::string& sec_div, const std::string& volts_div,
                const std::string& position) {
    WaveSlot& entry = tables.wave_slots[slot];
    entry.in_wave_data = 1;
    entry.count = count;
    CellText* cells = tables.wave_data_list.column(slot);
    for (int row = 0; row < count; ++row)
      cells[row].Set("68");
    tables.parameter_list.SetText(ParameterList::kSecDiv, slot, sec_div);
    tables.parameter_list.SetText(ParameterList::kVoltsDiv, slot, volts_div);
    tables.parameter_list.SetText(ParameterList::kVertPos, slot, position);
  }

  // Runs an export with the dialog answering `name` ("" cancels).
  bool Run(bool (ExportCommands::*command)(), const std::string& name) {
    chooser.answers.push_back(name.empty() ? name : dir.File(name));
    return (exports.*command)();
  }

  testing::ScriptedChooser chooser;
  ExportCommands exports{ViewContext{device.store(), tables, operate_log, debug_log, ui}, chooser};
};

TEST_F(ExportTest, WavesComeInSecondsAndVoltsWithTheScalesTheyCameFrom) {
  ShowChannels();
  LoadSlot(3, 250, "1.00ms", "2.00V", "50");     // another timing: a time column of its own
  LoadSlot(4, 500, "500.00us", "1,00V", "100");  // not a number: left out
  LoadSlot(5, 500, "500.00us", "1.00V", "****");
  ASSERT_TRUE(Run(&ExportCommands::ExportWaveCsv, "waves.csv"));
  EXPECT_EQ(chooser.asked[0].kind, file_kind::kWaveCsvExport);
  const Strings lines = Lines(ReadFileText(dir.File("waves.csv")));
  ASSERT_EQ(lines.size(), 1u + 3 + 2 + 1 + 500);
  EXPECT_EQ(lines[0], "Channel,Unit,Time/div,Volts/div,Position,Samples,Note");
  EXPECT_EQ(lines[1], "CH1,V,500.00us,1.00V,100,500,");
  EXPECT_EQ(lines[2], "CH2,V,500.00us,500.00mV,50,500,");
  EXPECT_EQ(lines[3], "Chan3,V,1.00ms,2.00V,50,250,");
  EXPECT_EQ(lines[4], "Chan4,,,,,,left out: its scales are not numbers");
  EXPECT_EQ(lines[5], "Chan5,,,,,,left out: its scales are not numbers");
  EXPECT_EQ(lines[6], "Time (s),CH1 (V),CH2 (V),Chan3 time (s),Chan3 (V)");
  // Code 18 is the bottom of the screen: CH1's 0 V is 4 divisions up, CH2's 2; Chan3's code 68
  // sits on its own 0 V. 10 divisions span each record.
  EXPECT_EQ(lines[7], "0,-4,-1,0,0");
  EXPECT_EQ(lines[8], "1e-05,-3.96,-0.98,4e-05,0");
  EXPECT_EQ(lines[7 + 250], "0.0025,-2,0,,");
  EXPECT_EQ(lines[7 + 499], "0.00499,-0.04,0.98,,");
  EXPECT_EQ(Operations(),
            (Strings{"Export Wave Data CSV file", "Export Wave Data CSV file successed！"}));
}

TEST_F(ExportTest, MeasurementsComeFromTheRecordsInBaseUnits) {
  ShowChannels();
  ResetPassFailLimits(tables.limits);
  tables.wave_slots[4].in_measurement = 1;
  tables.measurement_list.SetText(kVavg, 4, "7.00mV");
  ASSERT_TRUE(Run(&ExportCommands::ExportMeasurementCsv, "m.csv"));
  EXPECT_EQ(chooser.asked[0].kind, file_kind::kMeasurementCsvExport);
  const Strings lines = Lines(ReadFileText(dir.File("m.csv")));
  ASSERT_EQ(lines.size(), 1u + 2 * kMeasurementItemCount);
  EXPECT_EQ(lines[0], "Channel,Measurement,Value,Unit,Text,Verdict");
  EXPECT_EQ(lines[1], "CH1,Vavg,0.01234,V,12.34mV,Pass");
  EXPECT_EQ(lines[4], "CH1,Frequency,1500000,Hz,1500.000KHz,Fail");  // above 999 KHz
  EXPECT_EQ(lines[5], "CH1,Vrms,,,****,Fail");
  EXPECT_EQ(lines[12], "Chan4,Vavg,,,7.00mV,");
}

TEST(ExportTexts, GraphCaptionsAndQuotedCsvFields) {
  const LocalTime now{2026, 12, 7, 5, 10, 33, 999};
  EXPECT_EQ(GraphCaption(now, 0),
            "Korvelane Wave Graph  2026-12-07 05:10:33  Dentrallo: NRG-200, 200 MHz, 1 GSa/s");
  EXPECT_EQ(GraphCaption(now, -1),
            "Korvelane Wave Graph  2026-12-07 05:10:33  instrument not known");
  const std::pair<const char*, const char*> fields[] = {{"plain", "plain"},
                                                        {"a,b", "\"a,b\""},
                                                        {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                                        {"two\nlines", "\"two\nlines\""},
                                                        {"cr\r", "\"cr\r\""},
                                                        {"", ""}};
  for (const auto& [text, field] : fields)
    EXPECT_EQ(CsvField(text), field);
}

TEST_F(ExportTest, RefusedExportsWriteNothingAndKeepTheOldFile) {
  EXPECT_FALSE(Run(&ExportCommands::ExportWaveCsv, "none.csv"));
  EXPECT_FALSE(Run(&ExportCommands::ExportMeasurementCsv, "none.csv"));
  EXPECT_TRUE(chooser.asked.empty()) << "nothing to export: no dialog";
  EXPECT_EQ(MessageTexts(ui),
            (Strings{"There is no Wave Data for export!", "There is no measurement for export!"}));
  chooser.answers.clear();

  ShowChannels();
  testing::WriteFileBytes(dir.File("old"), {'o', 'l', 'd'});
  const std::string csv = "The file name needs the extension .csv!";
  for (auto command : {&ExportCommands::ExportWaveCsv, &ExportCommands::ExportMeasurementCsv}) {
    Forget();
    for (const char* name : {"", "old", "old.csv.txt", "no such folder/old.csv"})
      EXPECT_FALSE(Run(command, name)) << name;
    EXPECT_EQ(MessageTexts(ui), (Strings{csv, csv,
                                         "Try to export the file failed! It cannot be written: " +
                                             dir.File("no such folder/old.csv")}));
    EXPECT_FALSE(ui.wait_cursor);
    EXPECT_EQ(ui.panes[0].find("successed"), std::string::npos);
  }
  EXPECT_TRUE(Logged("导出文件失败"));

  // A picture that cannot be made leaves the old file as it was; the format follows the name.
  std::vector<PictureFormat> asked;
  const auto render = [&asked](PictureFormat format) -> std::optional<std::vector<uint8_t>> {
    asked.push_back(format);
    if (format == PictureFormat::kPdf)
      return std::nullopt;
    return std::vector<uint8_t>{'p'};
  };
  for (const char* name : {"g.PNG", "g.svg", "old.pdf", "g.jpg"}) {
    chooser.answers.push_back(dir.File(name));
    exports.ExportGraph(render);
  }
  EXPECT_EQ(asked, (std::vector<PictureFormat>{PictureFormat::kPng, PictureFormat::kSvg,
                                               PictureFormat::kPdf}));
  EXPECT_EQ(ui.messages.back().text, "The file name needs the extension .png, .svg or .pdf!");
  EXPECT_EQ(dir.Names("g"), (Strings{"g.PNG", "g.svg"}));
  EXPECT_EQ(dir.Names("old"), (Strings{"old"}));
  EXPECT_EQ(ReadFileText(dir.File("old")), "old");
}

}  // namespace
}  // namespace korvelane
