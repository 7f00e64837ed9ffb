#include "converter/output/pdb_inspect.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/output/palm_bitmap.h"
#include "converter/output/pdb_writer.h"
#include "tests/output/output_test_util.h"

namespace velmora {
namespace {

using testing::ReadWholeFile;
using testing::ScratchDir;

Bytes HeaderedRecord(std::uint8_t kind, const std::string& name) {
  Bytes out = {0x00, 0x50, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00};
  PutFixedText(out, name, 16);
  out.push_back(kind);
  return out;
}

Bytes DatabaseInfo() {
  Bytes out = HeaderedRecord(10, "");
  out.insert(out.end(), {0x00, 0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x02});
  PutZeros(out, 48);
  return out;
}

Bytes Control(std::int16_t x, std::int16_t y, const std::string& label, const Bytes& ir) {
  Bytes out;
  PutU16(out, static_cast<std::uint16_t>(x));
  PutU16(out, static_cast<std::uint16_t>(y));
  PutU16(out, 40);
  PutU16(out, 20);
  PutFixedText(out, label, 15);
  out.push_back(0x0B);
  out.insert(out.end(), ir.begin(), ir.end());
  return out;
}

Bytes Style(std::uint32_t control_uid, const std::string& text) {
  Bytes out = HeaderedRecord(7, "");
  PutU32(out, control_uid);
  PutU16(out, 0);
  PutFixedText(out, "stdFont", 16);
  PutU16(out, 5);
  PutFixedText(out, "00000100", 16);
  PutU16(out, 0xFFFF);
  PutZeros(out, 16);
  PutU16(out, 0xFFFF);
  PutU16(out, 0xFFFF);
  PutU32(out, 0x00020000);
  out.push_back(2);
  PutU16(out, static_cast<std::uint16_t>(text.size() + 1));
  PutText(out, text);
  out.push_back(0);
  return out;
}

class InspectTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  common::RecordedMessages messages;

  // A small database: info, one bitmap, a styled button, a hard key.
  Bytes Sample() {
    std::string path = dir.File("Halvestone.PDB");
    PdbWriter writer(messages);
    EXPECT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 5, {"0000ABCD - TV"}), 0);
    writer.AppendRecordEntry(0);
    writer.AppendRecordBytes(DatabaseInfo());
    writer.AppendRecordEntry(0);
    Bytes bitmap = HeaderedRecord(6, "00000100");
    bool over_64k = false;
    std::vector<std::uint8_t> pixels(6, 1);
    AppendBitmapRecordBody(bitmap, {8, 3, 2, pixels}, {over_64k, messages});
    writer.AppendRecordBytes(bitmap);
    std::uint32_t button = writer.AppendRecordEntry(1);
    writer.AppendRecordBytes(Control(10, 23, "Power", {0x01, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x00}));
    writer.AppendRecordEntry(0);
    writer.AppendRecordBytes(Style(button, "Power"));
    writer.AppendRecordEntry(1);
    writer.AppendRecordBytes(Control(125, 20, "Left", {0x01, 0x00, 0x01, 0x38, 0x81}));
    EXPECT_TRUE(writer.Finish());
    return ReadWholeFile(path);
  }
};

TEST_F(InspectTest, DecodesHeaderLabelsAndEveryRecord) {
  InspectResult result = InspectDatabase(Sample());
  ASSERT_TRUE(result.database.has_value()) << result.error;
  const InspectedDatabase& db = *result.database;
  EXPECT_EQ(db.name, "Halvestone");
  EXPECT_EQ(db.type, "Data");
  EXPECT_EQ(db.creator, "qLux");
  EXPECT_EQ(db.creation_date, kPdbDate);
  EXPECT_EQ(db.app_info_offset, 118u);
  EXPECT_EQ(db.labels, (std::vector<std::string>{"Unfiled", "TV"}));
  ASSERT_EQ(db.records.size(), 5u);
  std::vector<RecordKind> kinds;
  for (const InspectedRecord& r : db.records) kinds.push_back(r.kind);
  EXPECT_EQ(kinds, (std::vector<RecordKind>{RecordKind::kDatabaseInfo, RecordKind::kBitmap,
                                            RecordKind::kControl, RecordKind::kStyle,
                                            RecordKind::kHardKey}));
  EXPECT_EQ(db.records[0].offset, 394u);
  EXPECT_EQ(db.records[0].size, 81u);
  EXPECT_EQ(db.records[2].unique_id, 0x1002u);
  EXPECT_EQ(db.records[2].category, 1);
  EXPECT_EQ(db.records[0].summary, "database info");
  EXPECT_EQ(db.records[1].summary, "bitmap \"00000100\" 3x2 depth 8 rowBytes 4 size 24");
  EXPECT_EQ(db.records[2].summary,
            "at 10,23 size 40x20 label \"Power\" glyph 0x0B IR learned type 1 rate 76056 stream 2 "
            "bytes, block 7 bytes");
  EXPECT_EQ(db.records[3].summary,
            "style of 0x001002 font \"stdFont\" bitmap 0x0005 \"00000100\" pressed 0xFFFF colour "
            "0x00020000 style 2 text \"Power\"");
  EXPECT_EQ(db.records[4].summary, "at 125,20 size 40x20 label \"Left\" glyph 0x0B no IR");
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(InspectTest, PrintsOneLinePerRecord) {
  InspectResult result = InspectDatabase(Sample());
  ASSERT_TRUE(result.database.has_value());
  std::ostringstream out;
  PrintDatabase(*result.database, out);
  std::string text = out.str();
  EXPECT_NE(text.find("Database \"Halvestone\": type Data, creator qLux, 5 records\n"),
            std::string::npos);
  EXPECT_NE(text.find("Categories: 0 \"Unfiled\" 1 \"TV\"\n"), std::string::npos);
  EXPECT_NE(text.find("#4 offset "), std::string::npos);
  EXPECT_NE(text.find(" category 1 uid 0x001004 hardkey: "), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + 5);
}

TEST_F(InspectTest, Rc5BlocksShowBothVariants) {
  std::string path = dir.File("rc5.PDB");
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "rc5", 1, {}), 0);
  writer.AppendRecordEntry(0);
  Bytes ir = {0x01, 0x80, 0x01, 0x19, 0x98, 0x00, 3, 1, 2, 3, 4, 5, 6};
  writer.AppendRecordBytes(Control(-5, 0, "/x", ir));
  ASSERT_TRUE(writer.Finish());
  InspectResult result = InspectDatabase(ReadWholeFile(path));
  ASSERT_TRUE(result.database.has_value());
  EXPECT_EQ(result.database->records[0].summary,
            "at -5,0 size 40x20 label \"/x\" glyph 0x0B IR RC5 type 1 rate 72088 variants 3+3 "
            "bytes, block 13 bytes");
}

TEST_F(InspectTest, RejectsWhatIsNotATessalyDatabase) {
  EXPECT_NE(InspectDatabase(Bytes(10, 0)).error.find("shorter than a database header"),
            std::string::npos);
  Bytes other = Sample();
  other[60] = 'T';
  EXPECT_NE(InspectDatabase(other).error.find("not a Tessaly database"), std::string::npos);
  Bytes sample_begin = Sample();
  Bytes wrong_offset = sample_begin;
  wrong_offset[78 + 8 * 2 + 3] = 0xFF;  // record 2 beyond record 3
  EXPECT_EQ(InspectDatabase(wrong_offset).error,
            "record 2 at offset 767 lies after the next record's offset 646");
  Bytes truncated(sample_begin.begin(), sample_begin.begin() + 500);
  EXPECT_EQ(InspectDatabase(truncated).error,
            "record 1 at offset 475 runs past the end of the file (500 bytes)");
  Bytes too_many = Sample();
  too_many[76] = 0x40;
  EXPECT_NE(InspectDatabase(too_many).error.find("runs past the end"), std::string::npos);
}

TEST_F(InspectTest, EveryTruncationAndByteFlipFailsCleanlyOrDecodes) {
  Bytes sample = Sample();
  for (std::size_t length = 0; length < sample.size(); ++length) {
    InspectResult result = InspectDatabase(std::span<const std::uint8_t>(sample.data(), length));
    EXPECT_TRUE(result.database.has_value() || !result.error.empty()) << length;
  }
  for (std::size_t at = 0; at < sample.size(); ++at) {
    Bytes flipped = sample;
    flipped[at] ^= 0xA5;
    InspectResult result = InspectDatabase(flipped);
    if (result.database) {
      std::ostringstream out;
      PrintDatabase(*result.database, out);
      EXPECT_FALSE(out.str().empty());
    } else {
      EXPECT_FALSE(result.error.empty()) << at;
    }
  }
}

}  // namespace
}  // namespace velmora
