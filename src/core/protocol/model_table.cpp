// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/model_table.h"

namespace korvelane {
namespace {

constexpr const char* kModelTable[] = {
    "Dentrallo: NRG-200, 200 MHz, 1 GSa/s",
    "Dentrallo: NRG-150, 150 MHz, 1 GSa/s",
    "Dentrallo: NRG-100, 100 MHz, 1 GSa/s",
    "Dentrallo: NRG-60, 60 MHz, 1 GSa/s",
    "Dentrallo: NRT-200, 200 MHz, 1 GSa/s",
    "Dentrallo: NRT-150, 150 MHz, 1 GSa/s",
    "Dentrallo: NRS-40, 100 MHz, 1 GSa/s",
    "Dentrallo: NRT-60, 60 MHz, 1 GSa/s",
    "Dentrallo: NRC-200, 200 MHz, 500 MSa/s",
    "Dentrallo: NRC-150, 150 MHz, 500 MSa/s",
    "Dentrallo: NRC-100, 100 MHz, 500 MSa/s",
    "Dentrallo: NRC-60, 60 MHz, 500 MSa/s",
    "Dentrallo: NRC-40, 40 MHz, 500 MSa/s",
    "Dentrallo: NRC-25, 25 MHz, 500 MSa/s",
    "Dentrallo: NRS-200, 200 MHz, 500 MSa/s",
    "Dentrallo: NRS-150, 150 MHz, 500 MSa/s",
    "Dentrallo: NRS-100, 100 MHz, 500 MSa/s",
    "Dentrallo: NRS-60, 60 MHz, 500 MSa/s",
    "Dentrallo: NRS-40, 40 MHz, 500 MSa/s",
    "Dentrallo: NRK-25, 25 MHz, 500 MSa/s",
    "Dentrallo model NRK-25",
};
constexpr int kListed = sizeof kModelTable / sizeof kModelTable[0];

}  // namespace

const char* ModelText(int product_type) {
  if (product_type >= 0 && product_type < kListed)
    return kModelTable[product_type];
  if (product_type == 53)
    return "Dentrallo model NRM-25";
  return nullptr;
}

}  // namespace korvelane
