// SPDX-License-Identifier: GPL-3.0-or-later
// A main window with data in its lists, and helpers that drive the print preview.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <memory>
#include <string>

#include "app/app_test_support.h"
#include "core/views/view_tables.h"
#include "printing/print_commands.h"
#include "printing/print_preview.h"

namespace korvelane::testing {

class PrintTest : public AppTest {
 protected:
  void SetUp() override {
    Open();
    tables = &window->view_tables();
  }

  // CH1 holds `count` samples: sample i is i % 256.
  void FillWaveData(int count) {
    WaveDataList& list = tables->wave_data_list;
    for (int r = 0; r < count; ++r)
      list.column(1)[r].Set(std::to_string(r % 256));
    tables->wave_slots[1].in_wave_data = 1;
    tables->wave_slots[1].count = count;
    EnableViewButtons(*tables);
    tables->NotifyColumnChanged(ListKind::kWaveData, 1);
  }

  // Printing goes to a PDF file in the scratch folder.
  std::string PrintToPdf(const std::string& name) {
    const std::string path = dir.File(name);
    window->print_commands().set_printers([path] {
      auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(QString::fromStdString(path));
      return printer;
    });
    return path;
  }

  ViewTables* tables = nullptr;
};

// The text of a PDF file as pdftotext extracts it, page by page; empty without pdftotext.
std::string PdfText(const std::string& path);
bool HavePdfToText();

}  // namespace korvelane::testing
