// SPDX-License-Identifier: GPL-3.0-or-later
// Saving wave slots to wave record and graph files and loading them back into free slots.
#include "core/files/wave_file_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../views/view_world.h"
#include "core/files/file_io.h"
#include "core/protocol/measurement_record.h"
#include "file_command_fakes.h"

namespace korvelane {
namespace {

using testing::Bytes;
using testing::ReadFileBytes;
using testing::ReadFileText;
using testing::Strings;

// The texts one slot shows in the three lists.
struct ColumnTexts {
  Strings samples;  // all 4000 rows
  Strings parameters;
  Strings measurements;
  bool operator==(const ColumnTexts& o) const {
    return samples == o.samples && parameters == o.parameters && measurements == o.measurements;
  }
};

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
    store().hori_pos_text = "0.50ms";
    store().acq_status = 3;
    selectors().ch1_measure_wanted = measured ? 1 : 0;
    selectors().ch2_measure_wanted = 0;
    controller.RedrawWaveGraph();
  }

  ColumnTexts Column(int slot) const {
    ColumnTexts texts;
    for (int row = 0; row < WaveDataList::kRows; ++row)
      texts.samples.emplace_back(tables.wave_data_list.text(row, slot));
    for (int row = 0; row < ParameterList::kRows; ++row)
      texts.parameters.push_back(tables.parameter_list.text(row, slot));
    for (int row = 0; row < MeasurementList::kRows; ++row)
      texts.measurements.push_back(tables.measurement_list.text(row, slot));
    return texts;
  }

  // Saves slot `slot` with `save` under `name`; the file's bytes.
  std::vector<unsigned char> SaveAs(void (WaveFileCommands::*save)(), const std::string& name,
                                    int slot = 1) {
    host.slot = slot;
    chooser.answers.push_back(dir.File(name));
    (files.*save)();
    return ReadFileBytes(dir.File(name));
  }

  // A wave record file as the program writes it, with `count` samples of `value`.
  std::string WriteRecord(const std::string& name, int count, uint8_t value, bool measured,
                          uint8_t kind = kWaveDataKind) {
    WaveRecord record;
    record.kind = kind;
    record.samples.assign(static_cast<size_t>(count), value);
    record.parameter_texts = {"s" + std::to_string(value), "h", "v", "p", "t"};
    record.has_measurements = measured;
    record.measurement_texts.fill("m" + std::to_string(value));
    const std::string path = dir.File(name);
    EXPECT_TRUE(WriteWholeFile(path, EncodeWaveRecord(record)));
    return path;
  }

  // Everything a refused file must leave alone.
  struct Snapshot {
    std::vector<int> slots;
    std::vector<ColumnTexts> columns;
    std::vector<int> plot_sets;
    bool operator==(const Snapshot& o) const {
      return slots == o.slots && columns == o.columns && plot_sets == o.plot_sets;
    }
  };
  Snapshot Take() const {
    Snapshot s;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      const WaveSlot& w = tables.wave_slots[slot];
      s.slots.insert(s.slots.end(), {w.in_graph, w.in_wave_data, w.in_measurement, w.count});
      s.columns.push_back(Column(slot));
      s.plot_sets.push_back(graph.plots[slot].data_sets);
    }
    return s;
  }

  testing::ScriptedChooser chooser;
  testing::ControllerHost host{controller};
  WaveFileCommands files{ViewContext{device.store(), tables, operate_log, debug_log, ui}, chooser,
                         host};
};

int32_t LittleEndian32(const std::vector<unsigned char>& bytes, size_t at) {
  return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                              static_cast<uint32_t>(bytes[at + 3]) << 24);
}

size_t LineCount(const std::string& text) {
  size_t lines = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++lines;
  return lines;
}

TEST_F(WaveFileTest, SavedFilesHaveTheSizesOfTheirLayouts) {
  ShowCh1(4000, true);
  const auto graph_wdf = SaveAs(&WaveFileCommands::SaveWaveGraphFile, "full.wdf");
  EXPECT_EQ(graph_wdf.size(), 4172u);
  EXPECT_EQ(LittleEndian32(graph_wdf, 0), 4000);
  EXPECT_EQ(LittleEndian32(graph_wdf, 4), 110);
  EXPECT_EQ(graph_wdf[8], 1);
  EXPECT_EQ(graph_wdf[9], kGraphKind);
  EXPECT_EQ(SaveAs(&WaveFileCommands::SaveWaveDataFile, "full_data.wdf")[9], kWaveDataKind);
  const auto wmf = SaveAs(&WaveFileCommands::SaveMeasurementFile, "full.wmf");
  EXPECT_EQ(wmf.size(), 172u + 4000u);
  EXPECT_EQ(wmf[9], kMeasurementKind);

  ShowCh1(4000, false);
  const auto bare = SaveAs(&WaveFileCommands::SaveWaveGraphFile, "bare.wdf");
  EXPECT_EQ(bare.size(), 4062u);
  EXPECT_EQ(LittleEndian32(bare, 4), 0);
  EXPECT_EQ(bare[8], 0);
  EXPECT_EQ(SaveAs(&WaveFileCommands::SaveMeasurementFile, "bare.wmf").size(), 62u + 4000u);

  ShowCh1(2500, false);
  SaveAs(&WaveFileCommands::SaveWaveGraphFile, "bare.csv");
  const std::string bare_text = ReadFileText(dir.File("bare.csv"));
  EXPECT_EQ(LineCount(bare_text), 2509u);
  EXPECT_EQ(bare_text.substr(0, 13), "2500\r\n0\r\n0\r\n2");
  ShowCh1(2500, true);
  SaveAs(&WaveFileCommands::SaveWaveGraphFile, "full.csv");
  const std::string full_text = ReadFileText(dir.File("full.csv"));
  EXPECT_EQ(LineCount(full_text), 2520u);
  EXPECT_EQ(full_text.substr(0, 15), "2500\r\n110\r\n1\r\n2");
  EXPECT_EQ(static_cast<size_t>(std::count(full_text.begin(), full_text.end(), '\n')),
            LineCount(full_text));  // no bare line feeds
  EXPECT_EQ(Operations().back(), "Save Wave Garph file successed！");
}

TEST_F(WaveFileTest, WhatAViewShowsComesBackIntoTheFirstFreeSlotWithTheSameTexts) {
  ShowCh1(1000, true, 7);
  const ColumnTexts shown = Column(1);
  ASSERT_EQ(shown.samples[0], "7");
  ASSERT_EQ(shown.samples[999], std::to_string((999 * 3 + 7) & 0xFF));
  ASSERT_EQ(shown.samples[1000], "");
  ASSERT_EQ(shown.parameters[0], "500.00us");
  ASSERT_EQ(shown.measurements[0], "507.00mV");

  struct Case {
    void (WaveFileCommands::*save)();
    const char* name;
    int slot;       // where it comes back
    int in_graph;   // only graph files and kind-2 records mark the slot as shown
    int show_mode;  // what the loader asks of the graph
  };
  const Case cases[] = {
      {&WaveFileCommands::SaveWaveGraphFile, "g.wdf", 3, 1, kShowLoaded},
      {&WaveFileCommands::SaveWaveGraphFile, "g.csv", 4, 1, kShowLoaded},
      {&WaveFileCommands::SaveWaveDataFile, "d.wdf", 5, 0, kHideWaveData},
      {&WaveFileCommands::SaveMeasurementFile, "m.wmf", 6, 0, kHideMeasurement},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveAs(c.save, c.name);
    const std::string path = dir.File(c.name);
    int loaded = 0;
    if (c.show_mode == kShowLoaded) {
      chooser.answers.push_back(path);
      files.OpenWaveGraphFile();
      loaded = ui.messages.empty() ? 1 : 0;
    } else if (c.show_mode == kHideWaveData) {
      loaded = files.OpenWaveDataFile(path);
    } else {
      loaded = files.OpenMeasurementFile(path);
    }
    ASSERT_EQ(loaded, 1) << (ui.messages.empty() ? "" : ui.messages.back().text);
    EXPECT_EQ(Column(c.slot), shown);
    const WaveSlot& slot = tables.wave_slots[c.slot];
    EXPECT_EQ(slot.count, 1000);
    EXPECT_EQ(slot.in_wave_data, 1);
    EXPECT_EQ(slot.in_measurement, 1);
    EXPECT_EQ(slot.in_graph, c.in_graph);
    // The plot holds the samples; the box shows the wave only when asked.
    EXPECT_EQ(graph.plots[c.slot].data.size(), 1000u);
    EXPECT_EQ(graph.plots[c.slot].visible, c.show_mode == kShowLoaded);
    EXPECT_EQ(form.boxes.show[static_cast<size_t>(c.slot)], c.show_mode == kShowLoaded ? 1 : 0);
    EXPECT_EQ(host.shown.back(), std::make_pair(c.slot, c.show_mode));
  }
  // The channel choice offered the slots of the saving view.
  EXPECT_EQ(host.modes,
            (std::vector<SelectChanMode>{SelectChanMode::kWaveGraph, SelectChanMode::kWaveGraph,
                                         SelectChanMode::kWaveData, SelectChanMode::kMeasurement}));
  EXPECT_EQ(tables.selected_channel, 0);
  EXPECT_TRUE(tables.wave_data_buttons_enabled && tables.measure_buttons_enabled &&
              tables.graph_buttons_enabled);
}

TEST_F(WaveFileTest, SamplesComeFromTheListTextsAndThePanelBytesAreReordered) {
  ShowCh1(250, true);
  CellText* cells = tables.wave_data_list.column(1);
  cells[0].Set("**");     // no data in this row
  cells[1].Set("-3");     // sign, low eight bits
  cells[2].Set("12345");  // read with room for four characters: 1234
  const auto bytes = SaveAs(&WaveFileCommands::SaveWaveDataFile, "cut.wdf");
  ASSERT_EQ(bytes.size(), 172u + 250u);
  EXPECT_EQ((std::vector<unsigned char>(bytes.begin() + 12, bytes.begin() + 16)),
            (std::vector<unsigned char>{0, 253, 1234 & 0xFF, 9}));
  // The panel bytes in the file's order of panel_state entries 7, 5, 0, 4, 3, 2, 1, 6.
  const size_t block = 12 + 250;
  EXPECT_EQ((std::vector<unsigned char>(bytes.begin() + block, bytes.begin() + block + 8)),
            (std::vector<unsigned char>{17, 15, 10, 14, 13, 12, 11, 16}));
  // Loading it back leaves the verdict column, which belongs to the live channels, alone.
  const std::string verdict = tables.measurement_list.text(kVpp, MeasurementList::kVerdictColumn);
  ASSERT_EQ(files.OpenWaveDataFile(dir.File("cut.wdf")), 1);
  EXPECT_EQ(tables.wave_data_list.text(1, 3), "253");
  EXPECT_EQ(tables.measurement_list.text(kVpp, MeasurementList::kVerdictColumn), verdict);
}

TEST_F(WaveFileTest, SixLoadsFillChan3ToChan7AndTheSixthReplacesChan7) {
  std::vector<std::string> paths;
  for (int i = 0; i < 6; ++i) {
    // The sixth file is shorter, of a count the graph does not draw, and has no measurements:
    // nothing of the fifth may stay, not even its curve.
    paths.push_back(WriteRecord("w" + std::to_string(i) + ".wdf", i == 5 ? 300 : 500,
                                static_cast<uint8_t>(40 + i), i != 5));
  }
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(files.OpenWaveDataFile(paths[static_cast<size_t>(i)]), 1);
    const int slot = std::min(3 + i, 7);
    EXPECT_EQ(host.shown.back().first, slot);
    EXPECT_EQ(tables.wave_data_list.text(0, slot), std::to_string(40 + i));
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
  ShowCh1(1000, false);
  SaveAs(&WaveFileCommands::SaveWaveGraphFile, "long.csv");
  chooser.answers.push_back(dir.File("long.csv"));
  files.OpenWaveGraphFile();
  EXPECT_EQ(tables.wave_slots[7].count, 1000);
  ShowCh1(500, false, 9);
  SaveAs(&WaveFileCommands::SaveWaveGraphFile, "short.csv");
  chooser.answers.push_back(dir.File("short.csv"));
  files.OpenWaveGraphFile();
  EXPECT_EQ(tables.wave_data_list.text(0, 7), "9");
  EXPECT_EQ(tables.wave_data_list.text(500, 7), "");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WaveFileTest, SavesNeedAChoiceAndAKnownExtension) {
  ShowCh1(500, true);
  // Cancelled channel choice: nothing is asked.
  host.slot = 0;
  files.SaveWaveGraphFile();
  EXPECT_TRUE(chooser.asked.empty());
  EXPECT_EQ(Operations(), (Strings{"Save Wave Graph file"}));

  // A graph path with neither ".wdf" nor ".csv" writes nothing.
  SaveAs(&WaveFileCommands::SaveWaveGraphFile, "trace.txt");
  EXPECT_FALSE(testing::FileExists(dir.File("trace.txt")));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], (testing::MessageRecord{"Try to save Wave Graph file failed!", "Error",
                                                    MessageIcon::kInformation}));
  EXPECT_EQ(ui.events,
            (Strings{"wait:on", "message:Try to save Wave Graph file failed!", "wait:off"}));

  // The data and measurement files get their extension unless it is in the name anywhere.
  SaveAs(&WaveFileCommands::SaveWaveDataFile, "probe");
  SaveAs(&WaveFileCommands::SaveWaveDataFile, "probe.wdf.bak");
  SaveAs(&WaveFileCommands::SaveMeasurementFile, "meas");
  SaveAs(&WaveFileCommands::SaveMeasurementFile, "meas.wmf.bak");
  for (const char* name : {"probe.wdf", "probe.wdf.bak", "meas.wmf", "meas.wmf.bak"})
    EXPECT_TRUE(testing::FileExists(dir.File(name))) << name;
  EXPECT_FALSE(testing::FileExists(dir.File("probe.wdf.bak.wdf")));
  EXPECT_EQ(ui.panes[0], "Save measurement successed！");
}

TEST_F(WaveFileTest, FailedSavesReportThemselvesAndKeepTheFileThatWasThere) {
  ShowCh1(500, true);
  const std::string missing = "no such folder/x";
  struct Case {
    void (WaveFileCommands::*save)();
    std::string name;
    const char* message;
  };
  const Case cases[] = {
      {&WaveFileCommands::SaveWaveGraphFile, missing + ".wdf",
       "Try to save Wave Graph file failed!"},
      {&WaveFileCommands::SaveWaveGraphFile, missing + ".csv",
       "Try to openning the selected file failed!"},
      {&WaveFileCommands::SaveWaveDataFile, missing + ".wdf", "Try to save Wave Data file failed!"},
      {&WaveFileCommands::SaveMeasurementFile, missing + ".wmf",
       "Try to save measurement file failed!"},
  };
  for (const Case& c : cases) {
    ui = testing::FakeUserInterface();
    SaveAs(c.save, c.name);
    ASSERT_EQ(ui.messages.size(), 1u) << c.name;
    EXPECT_EQ(ui.messages[0].text, c.message);
    EXPECT_FALSE(ui.wait_cursor);
  }
  EXPECT_TRUE(Logged("保存波形数据文件失败"));
  for (const std::string& text : Operations())
    EXPECT_EQ(text.find("successed"), std::string::npos) << text;

  // Saving over a file replaces it whole, and leaves nothing else in the folder.
  testing::WriteFileBytes(dir.File("over.wdf"), std::vector<unsigned char>(9000, 0xEE));
  EXPECT_EQ(SaveAs(&WaveFileCommands::SaveWaveDataFile, "over.wdf").size(), 172u + 500u);
}

TEST_F(WaveFileTest, TheRightPaneOpenersCheckTheirExtensionAnywhereInThePath) {
  const std::string wdf = WriteRecord("trace.wdf", 500, 50, false);
  const std::string txt = dir.File("trace.txt");
  const std::string bak = dir.File("trace.wdf.bak");
  testing::WriteFileBytes(txt, ReadFileBytes(wdf));
  testing::WriteFileBytes(bak, ReadFileBytes(wdf));
  const Snapshot before = Take();

  EXPECT_EQ(files.OpenWaveDataFile(txt), 0);
  EXPECT_TRUE(Logged("打开文件类型与‘.wdf’不匹配"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], (testing::MessageRecord{"打开文件类型不匹配，请确认！", "提示信息",
                                                    MessageIcon::kInformation}));
  // The same layout under ".wdf" is no measurement file.
  EXPECT_EQ(files.OpenMeasurementFile(wdf), 0);
  EXPECT_TRUE(Logged("打开文件类型与‘.wmf’不匹配"));
  EXPECT_EQ(files.OpenWaveDataFile(dir.File("missing.wdf")), 0);
  EXPECT_TRUE(Logged("打开选定文件‘*.wdf’失败"));
  EXPECT_EQ(ui.messages.back().text, "打开选定文件失败，请确定文件是否被破坏、文件格式是否正确？");
  EXPECT_EQ(ui.messages.back().caption, "提示信息");
  EXPECT_TRUE(Take() == before);
  EXPECT_TRUE(host.shown.empty());

  EXPECT_EQ(files.OpenWaveDataFile(bak), 1);
  EXPECT_EQ(tables.wave_slots[3].count, 500);
  // ".wmf" through the graph view's reader is refused by its extension test.
  ui = testing::FakeUserInterface();
  EXPECT_EQ(files.LoadWaveGraphFile(WriteRecord("x.wmf", 250, 1, true, kMeasurementKind)), 0);
  EXPECT_EQ(ui.events,
            (Strings{"wait:on", "message:Try to openning the selected file failed!", "wait:off"}));
}

TEST_F(WaveFileTest, BadFilesAreRefusedBeforeAnythingChanges) {
  ShowCh1(500, true);
  ASSERT_EQ(files.OpenWaveDataFile(WriteRecord("kept.wdf", 250, 5, true)), 1);
  const std::vector<unsigned char> good = ReadFileBytes(dir.File("kept.wdf"));
  const auto spoilt = [&](size_t at, std::vector<unsigned char> bytes) {
    std::vector<unsigned char> file = good;
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<long>(at));
    return file;
  };
  const std::pair<const char*, std::vector<unsigned char>> binaries[] = {
      {"count over 4000", spoilt(0, {0xA1, 0x0F, 0, 0})},
      {"measurement size 100", spoilt(4, {100, 0, 0, 0})},
      {"flag without block", spoilt(4, {0, 0, 0, 0, 1})},
      {"one byte short", std::vector<unsigned char>(good.begin(), good.end() - 1)},
      {"empty", {}},
  };
  const std::pair<const char*, std::string> graphs[] = {
      {"count over 4000", "4001\r\n0\r\n0\r\n2\r\n"},
      {"fewer lines than promised", "3\r\n0\r\n0\r\n2\r\n1\r\n2\r\n3\r\na\r\nb\r\nc\r\nd\r\n"},
      {"measurement lines missing", "1\r\n110\r\n1\r\n2\r\n1\r\na\r\nb\r\nc\r\nd\r\ne\r\n"},
  };
  const Snapshot before = Take();
  for (const auto& [what, bytes] : binaries) {
    SCOPED_TRACE(what);
    const std::string wdf = dir.File("bad.wdf");
    const std::string wmf = dir.File("bad.wmf");
    testing::WriteFileBytes(wdf, bytes);
    testing::WriteFileBytes(wmf, bytes);
    ui = testing::FakeUserInterface();
    EXPECT_EQ(files.OpenWaveDataFile(wdf), 0);
    EXPECT_EQ(files.OpenMeasurementFile(wmf), 0);
    EXPECT_EQ(files.LoadWaveGraphFile(wdf), 0);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "打开选定文件失败，请确定文件是否被破坏、文件格式是否正确？");
    EXPECT_EQ(ui.messages[2].text, "Try to openning the selected file failed!");
    EXPECT_TRUE(Take() == before);
  }
  for (const auto& [what, text] : graphs) {
    SCOPED_TRACE(what);
    testing::WriteFileBytes(dir.File("bad.csv"), Bytes(text.begin(), text.end()));
    ui = testing::FakeUserInterface();
    EXPECT_EQ(files.LoadWaveGraphFile(dir.File("bad.csv")), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Try to openning the selected file failed!");
    EXPECT_TRUE(Take() == before);
  }
  // A fourth line other than 2 is the file's own mistake.
  testing::WriteFileBytes(dir.File("kind.csv"),
                          Bytes{'1', '\n', '0', '\n', '0', '\n', '0', '\n', '5', '\n',
                                'a', '\n', 'b', '\n', 'c', '\n', 'd', '\n', 'e', '\n'});
  ui = testing::FakeUserInterface();
  EXPECT_EQ(files.LoadWaveGraphFile(dir.File("kind.csv")), 0);
  EXPECT_EQ(ui.messages.at(0).text, "The opened file is incorrect!");
  EXPECT_FALSE(ui.wait_cursor);
  EXPECT_TRUE(Take() == before);
  EXPECT_TRUE(Logged("打开选定文件‘*.wmf’失败"));
}

TEST_F(WaveFileTest, TheGraphViewsOpenShowsAnyRecordAndEnablesTheButtonsEvenOnFailure) {
  // A failed load still lets the views enable their buttons for the data they have.
  tables.wave_slots[1].in_graph = 1;
  form.file_buttons = false;
  chooser.answers.push_back(dir.File("missing.csv"));
  files.OpenWaveGraphFile();
  EXPECT_EQ(ui.messages.at(0).text, "Try to openning the selected file failed!");
  EXPECT_TRUE(tables.graph_buttons_enabled);
  EXPECT_TRUE(form.file_buttons);

  // A wave data file (kind 0) is loaded and shown, without the graph flag; a count the graph
  // does not draw fills the lists but not the plot.
  chooser.answers.push_back(WriteRecord("data.wdf", 300, 60, false));
  files.OpenWaveGraphFile();
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(tables.wave_slots[3].in_graph, 0);
  EXPECT_EQ(tables.wave_slots[3].in_wave_data, 1);
  EXPECT_EQ(tables.wave_data_list.text(299, 3), "60");
  EXPECT_EQ(graph.plots[3].data_sets, 0);
  EXPECT_EQ(form.boxes.show[3], 1);
  EXPECT_TRUE(tables.wave_data_buttons_enabled);
  EXPECT_FALSE(tables.measure_buttons_enabled);
}

}  // namespace
}  // namespace korvelane
