// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz harnesses: each feeds arbitrary bytes to one parser of instrument answers or files and
// aborts when a result breaks what the parser promises. They are plain functions, so the fuzzers
// and the corpus replay test share them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvelane::fuzz {

// Input: a selector byte (bit 0 CH1 measurements wanted, bit 1 CH2, bit 2 all-data types), then
// the bytes the instrument sends, read message after message by ProtocolReceive and handed to
// every result handler.
void FuzzReceivePath(const uint8_t* data, size_t size);

// Input: a flag byte (bit 0: give every piece its right checksum), a begin result of 9 bytes,
// then piece results, each a 16-bit little-endian length and that many body bytes. The pieces
// are taken as a screen bitmap transfer takes them; the assembled file is decoded.
void FuzzBitmapPieces(const uint8_t* data, size_t size);

// The file codecs' harnesses (file_harnesses.cpp, which links the codecs alone). A bitmap file.
void FuzzBitmapDecoder(const uint8_t* data, size_t size);

// A wave record file (".wdf", ".wmf").
void FuzzWaveRecord(const uint8_t* data, size_t size);

// A graph file (".csv").
void FuzzGraphFile(const uint8_t* data, size_t size);

// A setting file (".ssf"), read from disk.
void FuzzSettingFile(const uint8_t* data, size_t size);

// Input: a column byte, then up to eleven 16-byte measurement records.
void FuzzMeasurementFormat(const uint8_t* data, size_t size);

// Input: a set-up byte (bits 0-1 the IN packet size 1, 8, 64 or 512; bits 2-3 the largest
// message: the link's own, 16, 100 or 4200 bytes), then operations, each an op byte and its
// operands: 0 a transfer of a 16-bit little-endian length and that many answer bytes (op bit 2:
// cut to what the link would ask for), 1 a read of a 16-bit little-endian count, 2 or 3 a new
// exchange. They go through the USB link's answer assembler as the link sends them.
void FuzzUsbLink(const uint8_t* data, size_t size);

// Stops the run where a promise is broken; the fuzzer keeps the input that did it.
void Check(bool condition, const char* what);

struct Harness {
  const char* name;  // also the name of the corpus folder
  void (*run)(const uint8_t* data, size_t size);
};

// Every harness, in a fixed order.
extern const Harness kHarnesses[];
extern const size_t kHarnessCount;

}  // namespace korvelane::fuzz
