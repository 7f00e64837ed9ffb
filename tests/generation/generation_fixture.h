// Shared helpers of the generation tests: a scratch folder per test, a form
// loaded from a built CCF file, a generation run into the scratch folder, and
// a plain split of the written database into its record-list entries and
// records (every offset checked, so a broken database fails the test).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/output/byte_buffer.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"
#include "tests/output/output_test_util.h"
#include "tests/support/ccf_builder.h"

namespace velmora::gentest {

using velmora::testing::ScratchDir;

inline Bytes ReadFileBytes(const std::string& path) {
  return velmora::testing::ReadWholeFile(path);
}

inline Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct Record {
  uint32_t offset = 0;
  uint8_t category = 0;
  uint32_t uniqueId = 0;
  Bytes bytes;
};

struct Database {
  Bytes file;
  uint16_t count = 0;
  std::vector<Record> records;
};

// Splits a database; fails the current test when the layout is broken.
inline Database SplitDatabase(const Bytes& file) {
  Database db;
  db.file = file;
  if (file.size() < 78) {
    ADD_FAILURE() << "database of " << file.size() << " bytes";
    return db;
  }
  db.count = GetU16(file, 76);
  size_t first = 78 + 8 * size_t{db.count} + 276;
  EXPECT_EQ(GetU32(file, 52), 78 + 8 * uint32_t{db.count});
  for (size_t i = 0; i < db.count; ++i) {
    size_t at = 78 + 8 * i;
    Record record;
    record.offset = GetU32(file, at);
    record.category = file[at + 4];
    record.uniqueId = GetU24(file, at + 5);
    db.records.push_back(record);
  }
  for (size_t i = 0; i < db.records.size(); ++i) {
    size_t begin = db.records[i].offset;
    size_t end = i + 1 < db.records.size() ? db.records[i + 1].offset : file.size();
    if (begin < first || begin > end || end > file.size()) {
      ADD_FAILURE() << "record " << i << " at " << begin << ".." << end;
      return db;
    }
    db.records[i].bytes.assign(file.begin() + static_cast<std::ptrdiff_t>(begin),
                               file.begin() + static_cast<std::ptrdiff_t>(end));
  }
  return db;
}

// A control record's fields.
struct Control {
  int16_t x, y, width, height;
  std::string label;
  uint8_t glyph;
  Bytes ir;  // everything after the 24 fixed bytes
};

inline Control DecodeControl(const Bytes& record) {
  Control c{};
  if (record.size() < 24) {
    ADD_FAILURE() << "control record of " << record.size() << " bytes";
    return c;
  }
  c.x = static_cast<int16_t>(GetU16(record, 0));
  c.y = static_cast<int16_t>(GetU16(record, 2));
  c.width = static_cast<int16_t>(GetU16(record, 4));
  c.height = static_cast<int16_t>(GetU16(record, 6));
  c.label.assign(reinterpret_cast<const char*>(record.data() + 8));
  c.glyph = record[23];
  c.ir.assign(record.begin() + 24, record.end());
  return c;
}

// A style record's varying fields.
struct Style {
  uint32_t controlId;
  uint16_t bitmapRef;
  std::string digits;
  uint16_t pressedRef;
  uint32_t colourWord;
  uint8_t style;
  std::string text;  // without the terminator
};

inline Style DecodeStyle(const Bytes& record) {
  Style s{};
  if (record.size() < 95 || record[24] != 7) {
    ADD_FAILURE() << "not a style record (" << record.size() << " bytes)";
    return s;
  }
  s.controlId = GetU32(record, 25);
  s.bitmapRef = GetU16(record, 47);
  s.digits.assign(reinterpret_cast<const char*>(record.data() + 49));
  s.pressedRef = GetU16(record, 83);
  s.colourWord = GetU32(record, 87);
  s.style = record[91];
  uint16_t n = GetU16(record, 92);
  EXPECT_EQ(record.size(), 94u + n);
  if (n >= 1 && record.size() >= 94u + n) {
    s.text.assign(record.begin() + 94, record.begin() + 94 + n - 1);
  }
  return s;
}

inline const Bytes kNoIrButtonMarker = {0x01, 0x00, 0x01, 0x38, 0x81};
inline const Bytes kNoIrFrameMarker = {0x01, 0x00, 0x01, 0x38, 0x80};

// The form after "Read CCF file" of the built file.
inline FormState LoadedForm(const ccf_builder::CcfBuilder& builder, common::Messages& messages) {
  FormState form;
  EXPECT_TRUE(LoadCcfImage(form, CcfImage(builder.bytes(), "test.ccf"), messages));
  return form;
}

// "Generate PDB file" into `path`; the split database when it was written.
inline std::optional<Database> Generate(FormState& form, const std::string& path,
                                        common::Messages& messages) {
  FixedPathDialog dialog(path);
  if (!GoBtnClick(form, dialog, messages)) return std::nullopt;
  return SplitDatabase(ReadFileBytes(path));
}

}  // namespace velmora::gentest
