// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands between the views' tables and files: wave slots saved to wave record and
// graph files and loaded back into free slots, and the exports for other programs.
#include <gtest/gtest.h>

#include "../views/view_world.h"
#include "core/files/export_commands.h"
#include "core/files/file_io.h"
#include "core/files/wave_export.h"
#include "core/files/wave_file_commands.h"
#include "core/protocol/measurement_record.h"
#include "core/protocol/unit_table.h"
#include "file_command_fakes.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

using testing::Bytes;
using testing::ReadFileBytes;
using testing::Strings;
using W = WaveFileCommands;
using Save = void (W::*)();
using Open = bool (W::*)(const std::string&);

constexpr const char* kOpenFailed = "打开选定文件失败，请确定文件是否被破坏、文件格式是否正确？";
constexpr const char* kGraphOpenFailed = "Try to openning the selected file failed!";
constexpr const char* kGraphSaveFailed = "Try to save Wave Graph file failed!";

// The lines of a CSV text, each ended by CR LF.
Strings Lines(const std::string& text) {
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  return testing::SplitLines(text, "\r\n");
}

class FileCommandsTest : public testing::ViewWorld {
 protected:
  FileCommandsTest() { store().panel_state = {10, 11, 12, 13, 14, 15, 16, 17}; }

  // CH1 on with `count` samples (code i % 200 + seed) at 1.00V/div, its 0 V 100 units up, and,
  // when `measured`, eleven measurements; CH2 off; 500.00us/div. Redraws as a refresh does.
  void ShowCh1(int32_t count, bool measured, uint8_t seed = 0) {
    ChannelData& ch = store().ch1;
    ch.enabled = true;
    ch.count = count;
    ch.vert_pos = 116;
    ch.volts_text = "1.00V";
    for (int i = 0; i < kMaxSamples; ++i)
      ch.samples[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 200 + seed);
    for (int item = 0; item < kMeasurementItemCount; ++item)
      EncodeMeasurementRecord({true, 500.0f + item + seed, 6, 2}, ch.measure.data() + item * 16);
    store().timebase_value = 500.0f;
    store().timebase_unit = kUnitUs;
    store().sec_div_text = "500.00us";
    selectors().ch1_measure_wanted = measured ? 1 : 0;
    controller.RedrawWaveGraph();
  }

  // Slot `slot`: its flags, count and plot updates, and its texts in the three lists.
  Strings Column(int slot) const {
    const WaveSlot& w = tables.wave_slots[slot];
    Strings texts = {std::to_string(w.in_graph), std::to_string(w.in_wave_data),
                     std::to_string(w.in_measurement), std::to_string(w.count),
                     std::to_string(graph.plots[slot].data_sets)};
    for (int row = 0; row < WaveDataList::kRows; ++row)
      texts.emplace_back(tables.wave_data_list.text(row, slot));
    for (int row = 0; row < ParameterList::kRows; ++row)
      texts.push_back(tables.parameter_list.text(row, slot));
    for (int row = 0; row < MeasurementList::kRows; ++row)
      texts.push_back(tables.measurement_list.text(row, slot));
    return texts;
  }

  // Saves slot 1 with `save` under `name`; the file's bytes.
  Bytes SaveAs(Save save, const std::string& name) {
    chooser.answers.push_back(dir.File(name));
    (files.*save)();
    return ReadFileBytes(dir.File(name));
  }

  // A wave record file as the program writes it: `count` samples of `value`, the parameter texts
  // `texts` and, when `measured`, the measurements "m<value>".
  std::string WriteRecord(const std::string& name, int count, uint8_t value, bool measured,
                          const std::array<std::string, 5>& texts = {"s", "h", "v", "p", "t"}) {
    WaveRecord record;
    record.samples.assign(static_cast<size_t>(count), value);
    record.parameter_texts = texts;
    record.has_measurements = measured;
    record.measurement_texts.fill("m" + std::to_string(value));
    const std::string path = dir.File(name);
    EXPECT_TRUE(WriteWholeFile(path, EncodeWaveRecord(record)));
    return path;
  }

  // Runs an export with the dialog answering `name` ("" cancels).
  bool Run(bool (ExportCommands::*command)(), const std::string& name) {
    chooser.answers.push_back(name.empty() ? name : dir.File(name));
    return (exports.*command)();
  }

  testing::ScriptedChooser chooser;
  testing::ControllerHost host{controller};
  W files{context, chooser, host};
  ExportCommands exports{context, chooser};
};

TEST_F(FileCommandsTest, WhatAViewShowsComesBackIntoTheFirstFreeSlotWithTheSameTexts) {
  ShowCh1(1000, true, 7);
  const Strings shown = Column(1);
  // The data and measurement files get their extension unless it is in the name anywhere, and
  // the openers look for it anywhere too.
  const struct {
    Save save;
    const char* typed;
    const char* name;
    int kind;  // the writer recorded in a binary file
    Open open;
    LoadMode shown;  // what the loader asks of the graph
  } cases[] = {
      {&W::SaveWaveGraphFile, "g.wdf", "g.wdf", kGraphKind, &W::LoadWaveGraphFile, LoadMode::kShow},
      {&W::SaveWaveGraphFile, "g.csv", "g.csv", -1, &W::LoadWaveGraphFile, LoadMode::kShow},
      {&W::SaveWaveDataFile, "d", "d.wdf", kWaveDataKind, &W::OpenWaveDataFile,
       LoadMode::kHideWaveData},
      {&W::SaveMeasurementFile, "m.wmf.bak", "m.wmf.bak", kMeasurementKind, &W::OpenMeasurementFile,
       LoadMode::kHideMeasurement},
  };
  int slot = kFirstFileSlot;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SaveAs(c.save, c.typed);
    const Bytes bytes = ReadFileBytes(dir.File(c.name));
    ASSERT_TRUE((files.*c.open)(dir.File(c.name)));
    if (c.kind >= 0) {
      EXPECT_EQ(bytes.at(8), 1);  // the measurement flag
      EXPECT_EQ(bytes.at(9), c.kind);
    }
    // Only graph files and kind-2 records mark the slot as shown.
    Strings expected = shown;
    expected[0] = c.shown == LoadMode::kShow ? "1" : "0";
    EXPECT_EQ(Column(slot), expected);
    // The plot holds the samples; the box shows the wave only when asked.
    EXPECT_EQ(graph.plots[slot].data.size(), 1000u);
    EXPECT_EQ(graph.plots[slot].visible, c.shown == LoadMode::kShow);
    EXPECT_EQ(form.boxes.show[static_cast<size_t>(slot)], c.shown == LoadMode::kShow ? 1 : 0);
    EXPECT_EQ(host.shown.back(), std::make_pair(slot, c.shown));
    ++slot;
  }
  EXPECT_EQ(tables.selected_channel, 0);
  EXPECT_TRUE(tables.wave_data_buttons_enabled && tables.measure_buttons_enabled &&
              tables.graph_buttons_enabled);

  // Chan7 takes the next file. With every slot full a file replaces Chan7: here a shorter one, of
  // a count the graph does not draw, without measurements; nothing of the last may stay, not
  // even its curve.
  ASSERT_TRUE(files.OpenWaveDataFile(WriteRecord("7.wdf", 500, 44, true)));
  ASSERT_TRUE(files.OpenWaveDataFile(WriteRecord("8.wdf", 300, 45, false, {"s45"})));
  EXPECT_EQ(host.shown.back().first, 7);
  EXPECT_EQ(tables.wave_slots[7].count, 300);
  EXPECT_EQ(tables.wave_slots[7].in_measurement, 0);
  EXPECT_TRUE(graph.plots[7].data.empty());
  EXPECT_EQ(tables.parameter_list.text(0, 7), "s45");
  EXPECT_EQ(tables.wave_data_list.text(299, 7), "45");
  EXPECT_EQ(tables.wave_data_list.text(300, 7), "");
  EXPECT_EQ(tables.measurement_list.text(0, 7), "m44");  // kept without measurements

  // A graph file chosen after them goes to Chan7 as well, and empties the rows it does not fill.
  ShowCh1(250, false, 9);
  SaveAs(&W::SaveWaveGraphFile, "short.csv");
  chooser.answers.push_back(dir.File("short.csv"));
  files.OpenWaveGraphFile();
  EXPECT_EQ(tables.wave_data_list.text(0, 7), "9");
  EXPECT_EQ(tables.wave_data_list.text(250, 7), "");
}

// A save takes the list texts, the panel bytes and the slot's measurement flag; one that fails
// says so and writes nothing.
TEST_F(FileCommandsTest, SavesTakeTheListTextsAndFailedSavesReportThemselves) {
  ShowCh1(250, false);
  tables.wave_data_list.column(1)[1].Set("-3");  // read as its low eight bits
  Bytes bytes = SaveAs(&W::SaveWaveGraphFile, "g.wdf");
  ASSERT_EQ(bytes.size(), 12u + 250 + 50);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 14),
            (Bytes{250, 0, 0, 0, 0, 0, 0, 0, 0, kGraphKind, 0, 0, 0, 253}));
  // The panel bytes in the file's order of panel_state entries 7, 5, 0, 4, 3, 2, 1, 6.
  EXPECT_EQ(Bytes(bytes.begin() + 262, bytes.begin() + 270),
            (Bytes{17, 15, 10, 14, 13, 12, 11, 16}));

  Forget();
  chooser.kinds.clear();
  host.slot = std::nullopt;  // a cancelled channel choice asks for no file
  files.SaveWaveGraphFile();
  EXPECT_TRUE(chooser.kinds.empty());
  host.slot = 1;
  const std::string missing = "no such folder/x";
  const std::tuple<Save, std::string, const char*> cases[] = {
      {&W::SaveWaveGraphFile, "x.txt", kGraphSaveFailed},  // neither ".wdf" nor ".csv"
      {&W::SaveWaveGraphFile, missing + ".csv", kGraphOpenFailed},
      {&W::SaveWaveDataFile, missing + ".wdf", "Try to save Wave Data file failed!"},
      {&W::SaveMeasurementFile, missing + ".wmf", "Try to save measurement file failed!"},
  };
  Strings events;
  for (const auto& [save, name, text] : cases) {
    SaveAs(save, name);
    EXPECT_EQ(ui.messages.back().caption, "Error") << name;
    events.insert(events.end(), {"wait:on", "message:" + std::string(text), "wait:off"});
  }
  EXPECT_EQ(ui.events, events);
  EXPECT_TRUE(dir.Names("x").empty());
  EXPECT_TRUE(Logged("保存波形数据文件失败"));
  for (const std::string& text : Operations())
    EXPECT_EQ(text.find("successed"), std::string::npos) << text;
}

TEST_F(FileCommandsTest, OpenersCheckTheirExtensionAnywhereAndRefuseBadFilesBeforeAnythingChanges) {
  ShowCh1(500, true);
  tables.graph_buttons_enabled = false;
  form.file_buttons = false;
  const Bytes good = ReadFileBytes(WriteRecord("trace.wdf", 250, 5, true));
  testing::WriteFileBytes(dir.File("trace.txt"), good);
  for (const char* name : {"short.wdf", "short.wmf"})
    testing::WriteFileBytes(dir.File(name), Bytes(good.begin(), good.end() - 1));
  const std::string kind = "1\n0\n0\n0\n5\na\nb\nc\nd\ne\n";  // a fourth line other than 2
  testing::WriteFileBytes(dir.File("kind.csv"), Bytes(kind.begin(), kind.end()));
  const Strings before = Column(3);  // the slot a load would take
  const std::string mismatch = "提示信息: 打开文件类型不匹配，请确认！";
  const std::string broken = std::string("提示信息: ") + kOpenFailed;
  const std::string unread = std::string("Error: ") + kGraphOpenFailed;
  const std::tuple<Open, const char*, std::string, const char*> cases[] = {
      {&W::OpenWaveDataFile, "trace.txt", mismatch, "打开文件类型与‘.wdf’不匹配"},
      {&W::OpenMeasurementFile, "trace.wdf", mismatch, "打开文件类型与‘.wmf’不匹配"},
      {&W::OpenWaveDataFile, "short.wdf", broken, "打开选定文件‘*.wdf’失败"},
      {&W::OpenMeasurementFile, "short.wmf", broken, "打开选定文件‘*.wmf’失败"},
      {&W::LoadWaveGraphFile, "trace.wmf", unread, ""},
      {&W::LoadWaveGraphFile, "short.wdf", unread, ""},
      {&W::LoadWaveGraphFile, "kind.csv", "Error: The opened file is incorrect!", ""},
  };
  for (const auto& [open, name, box, log] : cases) {
    SCOPED_TRACE(name);
    Forget();
    EXPECT_FALSE((files.*open)(dir.File(name)));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption + ": " + ui.messages[0].text, box);
    EXPECT_TRUE(*log == '\0' || Logged(log));
    EXPECT_TRUE(Column(3) == before);
    EXPECT_FALSE(ui.wait_cursor);
  }
  EXPECT_TRUE(host.shown.empty());
  // The views enable their buttons for the data they have even after a failure.
  EXPECT_TRUE(tables.graph_buttons_enabled);
  EXPECT_TRUE(form.file_buttons);

  // Any record is shown by the graph view's reader, a kind-0 one without the graph flag.
  ASSERT_TRUE(files.LoadWaveGraphFile(WriteRecord("data.wdf", 300, 60, false)));
  EXPECT_EQ(Column(3)[0], "0");
  EXPECT_EQ(form.boxes.show[3], 1);
}

TEST_F(FileCommandsTest, ExportsComeInSecondsVoltsAndHertzWithTheScalesTheyCameFrom) {
  ShowCh1(500, true, 18);
  store().ch2 = store().ch1;  // at 500.00mV/div, its 0 V 50 units up, not measured
  store().ch2.vert_pos = 166;
  store().ch2.volts_text = "500.00mV";
  EncodeMeasurementRecord({true, 1500.0f, kUnitKhz, 3}, store().ch1.measure.data() + 3 * 16);
  EncodeMeasurementRecord({true, 12.34f, kUnitMv, 2}, store().ch1.measure.data());
  EncodeMeasurementRecord({false, 1.0f, kUnitMv, 2}, store().ch1.measure.data() + 4 * 16);
  controller.RedrawWaveGraph();
  // Another timing: a time column of its own; scales that are not numbers: left out.
  files.OpenWaveDataFile(WriteRecord("3.wdf", 250, 68, false, {"1.00ms", "", "2.00V", "50", ""}));
  files.OpenWaveDataFile(WriteRecord("4.wdf", 500, 68, true, {"500.00us", "", "1,00V", "100", ""}));
  files.OpenWaveDataFile(
      WriteRecord("5.wdf", 500, 68, false, {"500.00us", "", "1.00V", "****", ""}));
  ASSERT_TRUE(Run(&ExportCommands::ExportWaveCsv, "waves.csv"));
  Strings lines = Lines(testing::ReadFileText(dir.File("waves.csv")));
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

  ResetPassFailLimits(tables.limits);
  tables.measurement_list.SetText(kVavg, 4, "7,0\r\"mV\"\n");  // quoted, its quotes doubled
  ASSERT_TRUE(Run(&ExportCommands::ExportMeasurementCsv, "m.csv"));
  lines = Lines(testing::ReadFileText(dir.File("m.csv")));
  ASSERT_EQ(lines.size(), 1u + 2 * kMeasurementItemCount);
  EXPECT_EQ(lines[0], "Channel,Measurement,Value,Unit,Text,Verdict");
  EXPECT_EQ(lines[1], "CH1,Vavg,0.01234,V,12.34mV,Pass");
  EXPECT_EQ(lines[4], "CH1,Frequency,1500000,Hz,1500.000KHz,Fail");  // above 999 KHz
  EXPECT_EQ(lines[5], "CH1,Vrms,,,****,Fail");
  EXPECT_EQ(lines[12], "Chan4,Vavg,,,\"7,0\r\"\"mV\"\"\n\",");
  for (const char* text : {"a,b", "a\"b", "a\rb", "a\nb"})  // each alone is quoted too
    EXPECT_EQ(CsvField(text).front(), '"') << text;
  EXPECT_EQ(Operations().back(), "Export Wave Measurement CSV file successed！");
  EXPECT_EQ(GraphCaption({2026, 12, 7, 5, 10, 33, 999}, 0),
            "Korvelane Wave Graph  2026-12-07 05:10:33  Dentrallo: NRG-200, 200 MHz, 1 GSa/s");
}

TEST_F(FileCommandsTest, RefusedExportsWriteNothingAndKeepTheOldFile) {
  EXPECT_FALSE(exports.ExportWaveCsv());
  EXPECT_FALSE(exports.ExportMeasurementCsv());
  EXPECT_TRUE(chooser.kinds.empty()) << "nothing to export: no dialog";

  ShowCh1(500, true);
  testing::WriteFileBytes(dir.File("old"), {'o', 'l', 'd'});
  for (const char* name : {"", "old", "old.csv.txt", "no such folder/old.csv"})
    EXPECT_FALSE(Run(&ExportCommands::ExportWaveCsv, name)) << name;
  const std::string csv = "The file name needs the extension .csv!";
  Strings texts;
  for (const testing::MessageRecord& m : ui.messages)
    texts.push_back(m.text);
  EXPECT_EQ(texts, (Strings{"There is no Wave Data for export!",
                            "There is no measurement for export!", csv, csv,
                            "Try to export the file failed! It cannot be written: " +
                                dir.File("no such folder/old.csv")}));
  EXPECT_FALSE(ui.wait_cursor);
  EXPECT_EQ(ui.panes[0].find("successed"), std::string::npos);
  EXPECT_TRUE(Logged("导出文件失败"));

  // A picture that cannot be made leaves the old file as it was; the format follows the name.
  const auto render = [](PictureFormat format) -> std::optional<std::vector<uint8_t>> {
    if (format == PictureFormat::kPdf)
      return std::nullopt;
    return std::vector<uint8_t>{'p'};
  };
  for (const char* name : {"g.PNG", "g.svg", "old.pdf", "g.jpg"}) {
    chooser.answers.push_back(dir.File(name));
    exports.ExportGraph(render);
  }
  EXPECT_EQ(ui.messages.back().text, "The file name needs the extension .png, .svg or .pdf!");
  EXPECT_EQ(dir.Names("g"), (Strings{"g.PNG", "g.svg"}));
  EXPECT_EQ(dir.Names("old"), (Strings{"old"}));
  EXPECT_EQ(testing::ReadFileText(dir.File("old")), "old");
}

}  // namespace
}  // namespace korvelane
