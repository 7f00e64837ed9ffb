#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_image.h"
#include "project_paths.h"

namespace velmora {
namespace {

const common::RecordedMessages::Entry kReadPastEnd{"Read past end of file", "File error", false};

CcfImage ImageOf(std::vector<uint8_t> bytes) { return CcfImage(std::move(bytes), "test.ccf"); }

TEST(CcfReader, ReadsBigEndianValues) {
  CcfImage image = ImageOf({0x12, 0x34, 0x56, 0x78, 0x9A, 0xFF});
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(reader.ReadU32(0), 0x12345678u);
  EXPECT_EQ(reader.ReadU32(2), 0x56789AFFu);
  EXPECT_EQ(reader.ReadU16(1), 0x3456u);
  EXPECT_EQ(reader.ReadU16(4), 0x9AFFu);
  EXPECT_EQ(reader.ReadU8(5), 0xFFu);
  EXPECT_FALSE(reader.failed());
  EXPECT_TRUE(messages.entries().empty());
}

TEST(CcfReader, ReadNotWhollyInFileYieldsZeroAndReportsOncePerOperation) {
  CcfImage image = ImageOf({1, 2, 3, 4, 5});
  common::RecordedMessages messages;
  {
    CcfReader reader(image, messages);
    EXPECT_EQ(reader.ReadU32(2), 0u);  // straddles the end
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.ReadU16(4), 0u);
    EXPECT_EQ(reader.ReadU8(5), 0u);
    EXPECT_EQ(reader.ReadU8(4), 5u);  // good reads still work after a failure
    EXPECT_EQ(messages.entries(), std::vector{kReadPastEnd});
  }
  CcfReader next(image, messages);
  EXPECT_FALSE(next.failed());
  next.ReadU8(100);
  EXPECT_EQ(messages.entries(), (std::vector{kReadPastEnd, kReadPastEnd}));
}

TEST(CcfReader, OffsetsNearTheTopOfTheRangeDoNotWrapIntoTheFile) {
  CcfImage image = ImageOf({0xAA, 0xBB, 0xCC, 0xDD});
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(reader.ReadU32(std::numeric_limits<uint64_t>::max() - 1), 0u);
  EXPECT_EQ(reader.ReadU16(std::numeric_limits<uint64_t>::max()), 0u);
  EXPECT_EQ(reader.ReadU32(uint64_t{0xFFFFFFFF} + 1), 0u);
  EXPECT_TRUE(reader.failed());
  EXPECT_EQ(messages.entries().size(), 1u);
}

TEST(CcfReader, EmptyFileFailsEveryRead) {
  CcfImage image = ImageOf({});
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(reader.ReadU8(0), 0u);
  EXPECT_EQ(messages.entries().size(), 1u);
}

TEST(CcfImage, TryReadAndBytesEqualAreSilent) {
  CcfImage image = ImageOf({'x', 'C', 'C', 'F'});
  uint8_t out[2] = {9, 9};
  EXPECT_TRUE(image.TryRead(2, 2, out));
  EXPECT_EQ(out[0], 'C');
  EXPECT_FALSE(image.TryRead(3, 2, out));
  EXPECT_TRUE(image.TryRead(4, 0, out));
  EXPECT_FALSE(image.TryRead(5, 0, out));
  EXPECT_EQ(image.BytesAt(1, 3), image.bytes().data() + 1);
  EXPECT_EQ(image.BytesAt(3, 2), nullptr);
  EXPECT_TRUE(image.BytesEqual(1, "CCF"));
  EXPECT_FALSE(image.BytesEqual(2, "CCF"));
  EXPECT_FALSE(image.BytesEqual(std::numeric_limits<uint64_t>::max(), "C"));
}

TEST(CcfImage, OpenReadsTheWholeFileAndFailsForMissingOnes) {
  std::string path = std::string(PROJECT_BINARY_DIR) + "/ccf_reader_test_open.bin";
  std::vector<uint8_t> bytes(70000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  std::optional<CcfImage> image = CcfImage::Open(path);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->size(), bytes.size());
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image->bytes().begin()));
  EXPECT_EQ(image->name(), path);
  std::remove(path.c_str());
  EXPECT_FALSE(CcfImage::Open(path).has_value());
}

// A string reference at 0, the string "Hi!" at 4, and room for more.
std::vector<uint8_t> StringFile(uint32_t reference, std::vector<uint8_t> string) {
  std::vector<uint8_t> bytes = {
      static_cast<uint8_t>(reference >> 24), static_cast<uint8_t>(reference >> 16),
      static_cast<uint8_t>(reference >> 8), static_cast<uint8_t>(reference)};
  for (uint8_t byte : string) bytes.push_back(byte);
  return bytes;
}

TEST(CcfReaderString, ReadsLengthPrefixedText) {
  CcfImage image = ImageOf(StringFile(4, {3, 'H', 'i', '!', 'x'}));
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(reader.ReadCcfString(0, 256, false), "Hi!");
  EXPECT_EQ(reader.ReadCcfString(0, 3, false), "Hi");  // capacity - 1 characters
  EXPECT_EQ(reader.ReadCcfString(0, 1, false), "");
  EXPECT_EQ(reader.ReadCcfString(0, 0, false), "");
  EXPECT_TRUE(messages.entries().empty());
}

TEST(CcfReaderString, MaskFlagClearsBit31Only) {
  CcfImage image = ImageOf(StringFile(0x80000004, {2, 'O', 'K'}));
  common::RecordedMessages messages;
  {
    CcfReader reader(image, messages);
    EXPECT_EQ(reader.ReadCcfString(0, 256, true), "OK");
    EXPECT_TRUE(messages.entries().empty());
  }
  CcfReader unmasked(image, messages);
  EXPECT_EQ(unmasked.ReadCcfString(0, 256, false), "");
  EXPECT_EQ(messages.entries(), std::vector{kReadPastEnd});
}

TEST(CcfReaderString, ZeroReferenceGivesEmptyTextWithoutReading) {
  CcfImage image = ImageOf(StringFile(0, {}));
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(reader.ReadCcfString(0, 256, true), "");
  EXPECT_FALSE(reader.failed());
}

TEST(CcfReaderString, LongNamesAreReadWholeOrCutToCapacity) {
  std::vector<uint8_t> string(1, 255);
  for (int i = 0; i < 255; ++i) string.push_back(static_cast<uint8_t>('a' + i % 26));
  CcfImage image = ImageOf(StringFile(4, string));
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  std::string name = reader.ReadCcfString(0, 256, true);
  ASSERT_EQ(name.size(), 255u);
  EXPECT_EQ(name.back(), static_cast<char>('a' + 254 % 26));
  string[0] = 250;
  CcfImage label = ImageOf(StringFile(4, string));
  CcfReader labelReader(label, messages);
  EXPECT_EQ(labelReader.ReadCcfString(0, 245, false), name.substr(0, 244));
}

TEST(CcfReaderString, TextRunningPastTheEndIsEmptyAndReportedOnce) {
  CcfImage image = ImageOf(StringFile(4, {10, 'a', 'b'}));
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(reader.ReadCcfString(0, 256, false), "");
  EXPECT_EQ(reader.ReadCcfString(0, 256, false), "");
  EXPECT_EQ(messages.entries(), std::vector{kReadPastEnd});
}

TEST(CcfReaderString, TextEndsAtItsFirstZeroCharacter) {
  CcfImage image = ImageOf(StringFile(4, {4, 'a', 0, 'b', 'c'}));
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(reader.ReadCcfString(0, 256, false), "a");
}

TEST(HexOffsets, RoundTripEightUpperCaseDigits) {
  EXPECT_EQ(OffsetToHex(0), "00000000");
  EXPECT_EQ(OffsetToHex(0xABCD), "0000ABCD");
  EXPECT_EQ(OffsetToHex(0xFEDCBA98), "FEDCBA98");
  EXPECT_EQ(HexToOffset("0000ABCD - Main"), 0xABCDu);
  EXPECT_EQ(HexToOffset("FEDCBA98"), 0xFEDCBA98u);
  EXPECT_EQ(HexToOffset("0012345678"), 0x00123456u);  // the first 8 characters only
  for (uint32_t value : {1u, 0x10u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    EXPECT_EQ(HexToOffset(OffsetToHex(value)), value);
  }
}

TEST(HexOffsets, HeadingsAndShortTextsGiveZero) {
  EXPECT_EQ(HexToOffset("-- Home --"), 0u);
  EXPECT_EQ(HexToOffset("ABC"), 0u);
  EXPECT_EQ(HexToOffset(""), 0u);
  EXPECT_EQ(HexToOffset("0000XY00 - Bad"), 0u);
}

}  // namespace
}  // namespace velmora
