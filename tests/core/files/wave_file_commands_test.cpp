// SPDX-License-Identifier: GPL-3.0-or-later
// Saving wave slots to wave record and graph files and loading them back into free slots.
#include "core/files/wave_file_commands.h"

#include <gtest/gtest.h>

#include "../views/view_world.h"
#include "core/files/file_io.h"
#include "core/protocol/measurement_record.h"
#include "file_command_fakes.h"

namespace korvelane {
namespace {

using testing::Bytes;
using testing::ReadFileBytes;
using testing::Strings;
using Save = void (WaveFileCommands::*)();

constexpr const char* kOpenFailed = "打开选定文件失败，请确定文件是否被破坏、文件格式是否正确？";
constexpr const char* kGraphOpenFailed = "Try to openning the selected file failed!";

class WaveFileTest : public testing::ViewWorld {
 protected:
  WaveFileTest() { store().panel_state = {10, 11, 12, 13, 14, 15, 16, 17}; }

  // CH1 on with `count` samples (i * 3 + seed) and, when `measured`, eleven measurements; CH2
  // off. Redraws as a refresh does.
  void ShowCh1(int32_t count, bool measured, uint8_t seed = 0) {
    ChannelData& ch = store().ch1;
    ch.enabled = true;
    ch.count = count;
    ch.vert_pos = 116;
    ch.volts_text = "1.00V";
    for (int i = 0; i < kMaxSamples; ++i)
      ch.samples[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 3 + seed);
    for (int item = 0; item < kMeasurementItemCount; ++item) {
      EncodeMeasurementRecord({true, 500.0f + item + seed, 6, 2},
                              ch.measure.data() + item * kMeasurementRecordSize);
    }
    store().ch2.enabled = false;
    store().sec_div_text = "500.00us";
    selectors().ch1_measure_wanted = measured ? 1 : 0;
    selectors().ch2_measure_wanted = 0;
    controller.RedrawWaveGraph();
  }

  // The texts slot `slot` shows in the three lists, and its flags and count.
  Strings Column(int slot) const {
    const WaveSlot& w = tables.wave_slots[slot];
    Strings texts = {std::to_string(w.in_graph), std::to_string(w.in_wave_data),
                     std::to_string(w.in_measurement), std::to_string(w.count)};
    for (int row = 0; row < WaveDataList::kRows; ++row)
      texts.emplace_back(tables.wave_data_list.text(row, slot));
    for (int row = 0; row < ParameterList::kRows; ++row)
      texts.push_back(tables.parameter_list.text(row, slot));
    for (int row = 0; row < MeasurementList::kRows; ++row)
      texts.push_back(tables.measurement_list.text(row, slot));
    return texts;
  }
  // Everything a refused file must leave alone.
  std::vector<Strings> Everything() const {
    std::vector<Strings> all;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      all.push_back(Column(slot));
      all.back().push_back(std::to_string(graph.plots[slot].data_sets));
    }
    return all;
  }

  // Saves slot `slot` with `save` under `name`; the file's bytes.
  Bytes SaveAs(Save save, const std::string& name, int slot = 1) {
    host.slot = slot;
    chooser.answers.push_back(dir.File(name));
    (files.*save)();
    return ReadFileBytes(dir.File(name));
  }

  // A wave record file as the program writes it, with `count` samples of `value`.
  std::string WriteRecord(const std::string& name, int count, uint8_t value, bool measured) {
    WaveRecord record;
    record.samples.assign(static_cast<size_t>(count), value);
    record.parameter_texts = {"s" + std::to_string(value), "h", "v", "p", "t"};
    record.has_measurements = measured;
    record.measurement_texts.fill("m" + std::to_string(value));
    const std::string path = dir.File(name);
    EXPECT_TRUE(WriteWholeFile(path, EncodeWaveRecord(record)));
    return path;
  }

  bool OpenGraph(const std::string& path) {
    chooser.answers.push_back(path);
    files.OpenWaveGraphFile();
    return ui.messages.empty();
  }

  testing::ScriptedChooser chooser;
  testing::ControllerHost host{controller};
  WaveFileCommands files{ViewContext{device.store(), tables, operate_log, debug_log, ui}, chooser,
                         host};
};

TEST_F(WaveFileTest, WhatAViewShowsComesBackIntoTheFirstFreeSlotWithTheSameTexts) {
  ShowCh1(1000, true, 7);
  const Strings shown = Column(1);
  // The data and measurement files get their extension unless it is in the name anywhere, and
  // the openers look for it anywhere too.
  struct Case {
    Save save;
    const char* typed;
    const char* name;
    uint8_t kind;    // the writer recorded in a binary file
    int in_graph;    // only graph files and kind-2 records mark the slot as shown
    LoadMode shown;  // what the loader asks of the graph
  };
  const Case cases[] = {
      {&WaveFileCommands::SaveWaveGraphFile, "g.wdf", "g.wdf", kGraphKind, 1, LoadMode::kShow},
      {&WaveFileCommands::SaveWaveGraphFile, "g.csv", "g.csv", 0, 1, LoadMode::kShow},
      {&WaveFileCommands::SaveWaveDataFile, "d", "d.wdf", kWaveDataKind, 0,
       LoadMode::kHideWaveData},
      {&WaveFileCommands::SaveMeasurementFile, "m.wmf.bak", "m.wmf.bak", kMeasurementKind, 0,
       LoadMode::kHideMeasurement},
  };
  int slot = kFirstFileSlot;
  Strings saved;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveAs(c.save, c.typed);
    saved.push_back(ui.panes[0]);  // the last action text
    const std::string path = dir.File(c.name);
    const Bytes bytes = ReadFileBytes(path);
    if (c.shown == LoadMode::kShow) {
      ASSERT_TRUE(OpenGraph(path)) << ui.messages.back().text;
    } else {
      ASSERT_TRUE(c.shown == LoadMode::kHideWaveData ? files.OpenWaveDataFile(path)
                                                     : files.OpenMeasurementFile(path));
    }
    if (std::string(c.name) != "g.csv") {
      EXPECT_EQ(bytes.at(8), 1);  // the measurement flag
      EXPECT_EQ(bytes.at(9), c.kind);
    }
    Strings expected = shown;
    expected[0] = std::to_string(c.in_graph);
    EXPECT_EQ(Column(slot), expected);
    // The plot holds the samples; the box shows the wave only when asked.
    EXPECT_EQ(graph.plots[slot].data.size(), 1000u);
    EXPECT_EQ(graph.plots[slot].visible, c.shown == LoadMode::kShow);
    EXPECT_EQ(form.boxes.show[static_cast<size_t>(slot)], c.shown == LoadMode::kShow ? 1 : 0);
    EXPECT_EQ(host.shown.back(), std::make_pair(slot, c.shown));
    ++slot;
  }
  EXPECT_EQ(saved, (Strings{"Save Wave Garph file successed！", "Save Wave Garph file successed！",
                            "Save Wave Data file successed！", "Save measurement successed！"}));
  // The channel choice offered the slots of the saving view.
  EXPECT_EQ(host.modes,
            (std::vector<SelectChanMode>{SelectChanMode::kWaveGraph, SelectChanMode::kWaveGraph,
                                         SelectChanMode::kWaveData, SelectChanMode::kMeasurement}));
  EXPECT_EQ(tables.selected_channel, 0);
  EXPECT_TRUE(tables.wave_data_buttons_enabled && tables.measure_buttons_enabled &&
              tables.graph_buttons_enabled);
}

TEST_F(WaveFileTest, SavesTakeTheListTextsThePanelBytesAndTheSlotsMeasurementFlag) {
  ShowCh1(250, false);
  CellText* cells = tables.wave_data_list.column(1);
  cells[1].Set("-3");  // read as its low eight bits
  Bytes bytes = SaveAs(&WaveFileCommands::SaveWaveGraphFile, "g.wdf");
  ASSERT_EQ(bytes.size(), 12u + 250 + 50);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 14),
            (Bytes{250, 0, 0, 0, 0, 0, 0, 0, 0, kGraphKind, 0, 0, 0, 253}));
  // The panel bytes in the file's order of panel_state entries 7, 5, 0, 4, 3, 2, 1, 6.
  EXPECT_EQ(Bytes(bytes.begin() + 262, bytes.begin() + 270),
            (Bytes{17, 15, 10, 14, 13, 12, 11, 16}));

  // Loading a file leaves the verdict column, which belongs to the live channels, alone.
  const std::string verdict = tables.measurement_list.text(kVpp, MeasurementList::kVerdictColumn);
  ASSERT_TRUE(files.OpenMeasurementFile(WriteRecord("x.wmf", 250, 1, true)));
  EXPECT_EQ(tables.measurement_list.text(kVpp, MeasurementList::kVerdictColumn), verdict);
}

TEST_F(WaveFileTest, SixLoadsFillChan3ToChan7AndTheSixthReplacesChan7) {
  for (int i = 0; i < 6; ++i) {
    // The sixth file is shorter, of a count the graph does not draw, and has no measurements:
    // nothing of the fifth may stay, not even its curve.
    const auto value = static_cast<uint8_t>(40 + i);
    ASSERT_TRUE(files.OpenWaveDataFile(WriteRecord("w.wdf", i == 5 ? 300 : 500, value, i != 5)));
    const int slot = std::min(3 + i, 7);
    EXPECT_EQ(host.shown.back().first, slot);
    EXPECT_EQ(tables.wave_data_list.text(0, slot), std::to_string(value));
  }
  const WaveSlot& seventh = tables.wave_slots[7];
  EXPECT_EQ(seventh.count, 300);
  EXPECT_EQ(seventh.in_measurement, 0);
  EXPECT_TRUE(graph.plots[7].data.empty());
  EXPECT_EQ(graph.plots[6].data.size(), 500u);
  EXPECT_EQ(tables.parameter_list.text(0, 7), "s45");
  EXPECT_EQ(tables.wave_data_list.text(299, 7), "45");
  EXPECT_EQ(tables.wave_data_list.text(300, 7), "");
  // Without measurements the column keeps its texts.
  EXPECT_EQ(tables.measurement_list.text(0, 7), "m44");

  // A graph file after them goes to Chan7 as well, and empties the rows it does not fill.
  ShowCh1(250, false, 9);
  SaveAs(&WaveFileCommands::SaveWaveGraphFile, "short.csv");
  ASSERT_TRUE(OpenGraph(dir.File("short.csv")));
  EXPECT_EQ(tables.wave_data_list.text(0, 7), "9");
  EXPECT_EQ(tables.wave_data_list.text(250, 7), "");
}

// A save that fails says so and writes nothing.
TEST_F(WaveFileTest, FailedSavesReportThemselves) {
  ShowCh1(500, true);
  // Cancelled channel choice: nothing is asked.
  host.slot = std::nullopt;
  files.SaveWaveGraphFile();
  EXPECT_TRUE(chooser.asked.empty());
  const std::string missing = "no such folder/x";
  const std::pair<Save, std::string> cases[] = {
      {&WaveFileCommands::SaveWaveGraphFile, "x.txt"},  // neither ".wdf" nor ".csv"
      {&WaveFileCommands::SaveWaveGraphFile, missing + ".wdf"},
      {&WaveFileCommands::SaveWaveGraphFile, missing + ".csv"},
      {&WaveFileCommands::SaveWaveDataFile, missing + ".wdf"},
      {&WaveFileCommands::SaveMeasurementFile, missing + ".wmf"},
  };
  Strings texts;
  for (const auto& [save, name] : cases) {
    ui = testing::FakeUserInterface();
    SaveAs(save, name);
    ASSERT_EQ(ui.messages.size(), 1u) << name;
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.events, (Strings{"wait:on", "message:" + ui.messages[0].text, "wait:off"}));
    texts.push_back(ui.messages[0].text);
  }
  EXPECT_EQ(texts,
            (Strings{"Try to save Wave Graph file failed!", "Try to save Wave Graph file failed!",
                     kGraphOpenFailed, "Try to save Wave Data file failed!",
                     "Try to save measurement file failed!"}));
  EXPECT_TRUE(dir.Names("x").empty());
  EXPECT_TRUE(Logged("保存波形数据文件失败"));
  for (const std::string& text : Operations())
    EXPECT_EQ(text.find("successed"), std::string::npos) << text;
}

TEST_F(WaveFileTest, OpenersCheckTheirExtensionAnywhereAndRefuseBadFilesBeforeAnythingChanges) {
  ShowCh1(500, true);
  tables.graph_buttons_enabled = false;
  form.file_buttons = false;
  const std::string wdf = WriteRecord("trace.wdf", 250, 5, true);
  const std::string txt = dir.File("trace.txt");
  const Bytes good = ReadFileBytes(wdf);
  testing::WriteFileBytes(txt, good);
  testing::WriteFileBytes(dir.File("short.wdf"), Bytes(good.begin(), good.end() - 1));
  testing::WriteFileBytes(dir.File("short.wmf"), ReadFileBytes(dir.File("short.wdf")));
  const std::string short_csv = "3\r\n0\r\n0\r\n2\r\n1\r\n2\r\n3\r\na\r\nb\r\nc\r\nd\r\n";
  testing::WriteFileBytes(dir.File("short.csv"), Bytes(short_csv.begin(), short_csv.end()));
  const std::vector<Strings> before = Everything();

  EXPECT_FALSE(files.OpenWaveDataFile(txt));
  EXPECT_FALSE(files.OpenMeasurementFile(wdf));  // the same layout under ".wdf"
  EXPECT_FALSE(files.OpenWaveDataFile(dir.File("missing.wdf")));
  EXPECT_FALSE(files.OpenWaveDataFile(dir.File("short.wdf")));
  EXPECT_FALSE(files.OpenMeasurementFile(dir.File("short.wmf")));
  for (const char* name : {"trace.wmf", "short.wdf", "short.csv", "trace.txt"})
    EXPECT_FALSE(files.LoadWaveGraphFile(dir.File(name))) << name;
  Strings texts;
  for (const testing::MessageRecord& m : ui.messages)
    texts.push_back(m.caption + ": " + m.text);
  const std::string notice = "提示信息: ";
  const std::string error = std::string("Error: ") + kGraphOpenFailed;
  EXPECT_EQ(texts,
            (Strings{notice + "打开文件类型不匹配，请确认！",
                     notice + "打开文件类型不匹配，请确认！", notice + kOpenFailed,
                     notice + kOpenFailed, notice + kOpenFailed, error, error, error, error}));
  for (const char* log : {"打开文件类型与‘.wdf’不匹配", "打开文件类型与‘.wmf’不匹配",
                          "打开选定文件‘*.wdf’失败", "打开选定文件‘*.wmf’失败"})
    EXPECT_TRUE(Logged(log)) << log;
  EXPECT_TRUE(Everything() == before);
  EXPECT_TRUE(host.shown.empty());
  EXPECT_FALSE(ui.wait_cursor);

  // A fourth line other than 2 is the file's own mistake.
  const std::string kind = "1\n0\n0\n0\n5\na\nb\nc\nd\ne\n";
  testing::WriteFileBytes(dir.File("kind.csv"), Bytes(kind.begin(), kind.end()));
  EXPECT_FALSE(files.LoadWaveGraphFile(dir.File("kind.csv")));
  EXPECT_EQ(ui.messages.back().text, "The opened file is incorrect!");
  EXPECT_TRUE(Everything() == before);

  // The views enable their buttons for the data they have even after a failure.
  EXPECT_TRUE(tables.graph_buttons_enabled);
  EXPECT_TRUE(form.file_buttons);

  // Any record is shown by the graph view's reader, a kind-0 one without the graph flag; a count
  // the graph does not draw fills the lists but not the plot.
  ASSERT_TRUE(files.LoadWaveGraphFile(WriteRecord("data.wdf", 300, 60, false)));
  EXPECT_EQ(Column(3)[0], "0");
  EXPECT_EQ(tables.wave_data_list.text(299, 3), "60");
  EXPECT_EQ(graph.plots[3].data_sets, 0);
  EXPECT_EQ(form.boxes.show[3], 1);
}

}  // namespace
}  // namespace korvelane
