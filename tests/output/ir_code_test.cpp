#include "converter/output/ir_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_image.h"
#include "converter/output/rc6_code.h"

namespace velmora {
namespace {

using Words = std::vector<std::uint16_t>;

ProntoWordSource SourceOf(const Words& words) {
  return [&words](std::uint32_t i) -> std::uint16_t { return i < words.size() ? words[i] : 0; };
}

class IrTest : public ::testing::Test {
 protected:
  IrWarningFlags flags;
  common::RecordedMessages messages;
  IrWarnings warnings{flags, messages};

  IrBlock Convert(const Words& words) { return ConvertProntoCode(SourceOf(words), warnings); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const auto& entry : messages.entries()) captions.push_back(entry.caption);
    return captions;
  }
};

// Words for one pair per value of `on_cycles`, each with no off time.
Words LearnedOnly(std::uint16_t frequency, const std::vector<std::uint16_t>& on_cycles) {
  Words words = {0x0000, frequency, static_cast<std::uint16_t>(on_cycles.size()), 0};
  for (std::uint16_t on : on_cycles) {
    words.push_back(on);
    words.push_back(0);
  }
  return words;
}

TEST(IrRate, TwiceTheTruncatedCarrierFrequency) {
  EXPECT_EQ(SamplingRate(0x73), 72088u);
  EXPECT_EQ(SamplingRate(0x6D), 76056u);
  EXPECT_EQ(SamplingRate(1), 2u * 4145146u);
}

TEST_F(IrTest, LearnedCodeMatchesTheWorkedExample) {
  IrBlock block = Convert({0x0000, 0x006D, 0x0002, 0x0000, 0x0010, 0x0020, 0x0030, 0x0040});
  EXPECT_EQ(block, (IrBlock{0x01, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x7F, 0xC0, 0x00}));
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(IrTest, ARepeatPartGivesType5AndItsBitsFollowDirectly) {
  IrBlock block =
      Convert({0x0000, 0x006D, 0x0002, 0x0001, 0x0010, 0x0020, 0x0030, 0x0040, 0x000A, 0x0005});
  // 3 ones, 6 zeros, 9 ones, 12 zeros, then 2 ones and 1 zero: 33 bits.
  EXPECT_EQ(block, (IrBlock{0x05, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x7F, 0xC0, 0x03, 0x00}));
}

TEST_F(IrTest, CountsBelowFiveCyclesGiveNoBit) {
  // on 4: nothing; off 9: one zero; on 10: two ones.
  IrBlock block = Convert({0x0000, 0x0073, 0x0002, 0x0000, 4, 9, 10, 0});
  EXPECT_EQ(block, (IrBlock{0x01, 0x00, 0x01, 0x19, 0x98, 0x60}));
}

TEST_F(IrTest, ExactlyAFullSecondIsNotCut) {
  IrBlock block = Convert(LearnedOnly(0x73, {40960}));  // 8192 one-bits
  ASSERT_EQ(block.size(), 1030u);
  EXPECT_EQ(block[5 + 1023], 0xFF);
  EXPECT_EQ(block[5 + 1024], 0x00);  // the final byte is always present
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(IrTest, LongerCodesAreCutAfterBit8193WithOneWarningPerRun) {
  IrBlock first = Convert(LearnedOnly(0x73, {40965}));  // 8193 bits
  IrBlock second = Convert(LearnedOnly(0x73, {60000, 60000, 60000}));
  for (const IrBlock* block : {&first, &second}) {
    ASSERT_EQ(block->size(), 1030u);
    EXPECT_EQ((*block)[5 + 1024], 0x80);
  }
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{
                                  "IR code too long: Tessaly does not support IR which is longer "
                                  "than one second.  Some codes are being truncated (but may "
                                  "work anyway)."});
}

TEST_F(IrTest, TheCutIsCheckedAfterZeroBitsToo) {
  IrBlock block = Convert({0x0000, 0x0073, 0x0001, 0x0000, 5, 60000});
  ASSERT_EQ(block.size(), 1030u);
  EXPECT_EQ(block[5], 0x80);
  EXPECT_EQ(block[5 + 1024], 0x00);
  EXPECT_EQ(Captions(), std::vector<std::string>{"IR code too long"});
}

TEST_F(IrTest, PairCountsAboveSixteenBitsOfWordsAreSampledWhole) {
  // 0x8000 once pairs: 4 + 2 x 0x8000 words, past a 16-bit word index.
  Words words = {0x0000, 0x0073, 0x8000, 0x0000};
  words.resize(4 + 2 * 0x8000, 0);
  words[4 + 2 * 0x7FFF] = 10;  // the last pair: two one-bits
  IrBlock block = Convert(words);
  EXPECT_EQ(block, (IrBlock{0x01, 0x00, 0x01, 0x19, 0x98, 0xC0}));
}

TEST_F(IrTest, ZeroSampleRateIsSkippedWithOneWarning) {
  EXPECT_TRUE(Convert({0x0000, 0x0000, 0x0001, 0x0000, 10, 10}).empty());
  EXPECT_TRUE(Convert({0x0000, 0x0000, 0x0001, 0x0000, 10, 10}).empty());
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Unknown IR code: This CCF file contains IR codes with a "
                                     "sample rate of zero.  These codes will be skipped."});
}

TEST_F(IrTest, UnknownFormsAreSkippedWithOneWarningNamingTheFirst) {
  EXPECT_TRUE(Convert({0x6000, 0x0073, 0x0001, 0x0000, 10, 10}).empty());
  EXPECT_TRUE(Convert({0x9ABC}).empty());
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{
                "Unknown IR code: This CCF file contains IR codes which are not understood by "
                "this program.  They begin with 6000 Only codes beginning with 0000, 5000 or 5001 "
                "are supported.  These codes will be skipped."});
}

TEST(Rc5Build, System0Command0MatchesTheWorkedWords) {
  Words expected = {0x0000, 0x0073, 0x000D, 0x0000, 0x0020, 0x0020, 0x0040, 0x0020};
  expected.insert(expected.end(), 21, 0x0020);
  expected.push_back(0x0CC0);
  EXPECT_EQ(BuildRc5Code(0, 0, 0), expected);
  Words toggled = BuildRc5Code(0, 0, 1);
  ASSERT_EQ(toggled.size(), 30u);
  EXPECT_EQ(Words(toggled.begin() + 4, toggled.begin() + 10),
            (Words{0x0020, 0x0020, 0x0020, 0x0020, 0x0040, 0x0020}));
}

TEST(Rc5Build, CommandBit6ClearsTheFieldBit) {
  // Field bit 0 (mark first) joins the start bit's mark: the first pair is 64 on.
  Words words = BuildRc5Code(0, 0x40, 0);
  EXPECT_EQ(words[4], 0x0040);
}

TEST(Rc5Build, Rc5xSystem21Command42MatchesTheWorkedWords) {
  Words expected = {0x0000, 0x0073, 0x000E, 0x0000, 0x0020, 0x0020, 0x0040, 0x0040, 0x0040, 0x0040,
                    0x0040, 0x0040, 0x0020, 0x00A0, 0x0040, 0x0040, 0x0040, 0x0040, 0x0040, 0x0020};
  expected.insert(expected.end(), 11, 0x0020);
  expected.push_back(0x0AC0);
  EXPECT_EQ(BuildRc5xCode(21, 42, 0, 0), expected);
}

TEST(PulsesToBits, SamplesIntoAnAreaPaddedToItsLength) {
  Bytes area;
  std::uint8_t type = 0;
  std::uint32_t rate = 0;
  EXPECT_EQ(PulsesToBits(BuildRc5Code(0, 0, 0), area, type, rate), 107u);
  ASSERT_EQ(area.size(), 107u);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(rate, 72088u);
  // The stream (808 bits, 102 bytes with its final byte) and five zero bytes.
  EXPECT_EQ(area[0], 0xFC);  // 6 one-bits of the first pair, then its zeros
  EXPECT_EQ(Bytes(area.begin() + 101, area.end()), Bytes(6, 0));
}

TEST(PulsesToBits, StreamsReaching8184BitsGiveNothing) {
  Bytes area;
  std::uint8_t type = 0;
  std::uint32_t rate = 0;
  EXPECT_EQ(PulsesToBits(LearnedOnly(0x73, {5 * 8183}), area, type, rate), 8183u / 8 + 6);
  EXPECT_EQ(PulsesToBits(LearnedOnly(0x73, {5 * 8184}), area, type, rate), 0u);
  EXPECT_TRUE(area.empty());
  EXPECT_EQ(PulsesToBits(Words{0x5000, 0x73, 0, 0}, area, type, rate), 0u);
  EXPECT_EQ(PulsesToBits(Words{0x0000, 0, 1, 0, 10, 10}, area, type, rate), 0u);
}

TEST_F(IrTest, Rc5BlockHoldsBothToggleVariants) {
  IrBlock block = Convert({0x5000, 0x0073, 0x0000, 0x0000, 0x0000, 0x0000});
  ASSERT_EQ(block.size(), 221u);
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 7),
            (Bytes{0x01, 0x80, 0x01, 0x19, 0x98, 0x00, 107}));
  Bytes area;
  std::uint8_t type = 0;
  std::uint32_t rate = 0;
  PulsesToBits(BuildRc5Code(0, 0, 0), area, type, rate);
  EXPECT_EQ(Bytes(block.begin() + 7, block.begin() + 114), area);
  PulsesToBits(BuildRc5Code(0, 0, 1), area, type, rate);
  EXPECT_EQ(Bytes(block.begin() + 114, block.end()), area);
  EXPECT_NE(Bytes(block.begin() + 7, block.begin() + 114), area);
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(IrTest, Rc5UsesOnlyTheLowBytesOfSystemAndCommand) {
  EXPECT_EQ(Convert({0x5000, 0, 0, 0, 0x1205, 0x340C}), Convert({0x5000, 0, 0, 0, 0x05, 0x0C}));
}

TEST_F(IrTest, Rc5xCodesAreConvertedWithOneUntestedWarning) {
  IrBlock first = Convert({0x5001, 0x0073, 0, 0, 21, 42, 0});
  IrBlock second = Convert({0x5001, 0x0073, 0, 0, 1, 2, 3});
  ASSERT_EQ(first.size(), 7u + 106 + 106);
  EXPECT_EQ(first[6], 106);
  EXPECT_EQ(second.size(), 7u + 2 * second[6]);
  ASSERT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(messages.entries()[0].caption, "Untested IR conversion");
  EXPECT_EQ(messages.entries()[0].text,
            "This CCF file contains IR codes which begin with 5001.  This program can convert "
            "them, but this feature is untested.  If you determine that these IR codes do or do "
            "not work, please notify support at: support@velmora.example");
}

// An IR code record at offset 4 of a small image: first word, header rest, code.
CcfImage ImageWithIrRecord(std::size_t header_size, const Words& code) {
  std::vector<std::uint8_t> bytes = {0, 0, 0, 0, 0x00, 0x01};
  bytes.resize(4 + header_size, 0);
  for (std::uint16_t w : code) {
    bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    bytes.push_back(static_cast<std::uint8_t>(w));
  }
  return CcfImage(bytes, "ir.ccf");
}

TEST_F(IrTest, CcfCodesStartAfterTheShortOrLongHeader) {
  const Words code = {0x0000, 0x006D, 0x0002, 0x0000, 0x0010, 0x0020, 0x0030, 0x0040};
  const IrBlock expected = {0x01, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x7F, 0xC0, 0x00};
  CcfImage short_header = ImageWithIrRecord(6, code);
  CcfReader short_reader(short_header, messages);
  EXPECT_EQ(ConvertIrCode(short_reader, CcfFormat{}, 4, warnings), expected);
  CcfImage long_header = ImageWithIrRecord(12, code);
  CcfReader long_reader(long_header, messages);
  EXPECT_EQ(ConvertIrCode(long_reader, CcfFormat{.longIrHeader = true}, 4, warnings), expected);
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(IrTest, CcfRecordsWithoutCodeGiveNoBlock) {
  CcfImage image = ImageWithIrRecord(6, {0x0000, 0x006D, 0x0001, 0x0000, 10, 10});
  CcfReader reader(image, messages);
  EXPECT_TRUE(ConvertIrCode(reader, CcfFormat{}, 0, warnings).empty());
  EXPECT_TRUE(ConvertIrCode(reader, CcfFormat{}, 2, warnings).empty());  // first word 0
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(IrTest, ACodeRunningPastTheFileEndIsReportedOnceAndKeepsItsBits) {
  // Two pairs announced, one present: the missing words read as 0.
  CcfImage image = ImageWithIrRecord(6, {0x0000, 0x006D, 0x0002, 0x0000, 0x0010, 0x0020});
  CcfReader reader(image, messages);
  IrBlock block = ConvertIrCode(reader, CcfFormat{}, 4, warnings);
  EXPECT_EQ(block, (IrBlock{0x01, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x00}));
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{"File error: Read past end of file"});
}

TEST_F(IrTest, Rc6CodesBecomeTheLearnedCodeARemoteSendsOnlyOnRequest) {
  const Words learned = {0x0000, 0x0073, 0x0000, 0x0012, 0x0060, 0x0020, 0x0010, 0x0020,
                         0x0010, 0x0010, 0x0010, 0x0010, 0x0010, 0x0020, 0x0020, 0x0010,
                         0x0010, 0x0010, 0x0020, 0x0010, 0x0010, 0x0020, 0x0010, 0x0010,
                         0x0010, 0x0010, 0x0010, 0x0010, 0x0020, 0x0010, 0x0010, 0x0020,
                         0x0020, 0x0020, 0x0010, 0x0010, 0x0010, 0x0010, 0x0020, 0x0BE1};
  const Words rc6 = {0x6000, 0x0000, 0x0000, 0x0001, 0x0030, 0x00D1};
  EXPECT_EQ(BuildRc6Code(48, 209), learned);
  IrBlock block = ConvertProntoCode(SourceOf(rc6), warnings, Rc6Codes::kConvert);
  ASSERT_FALSE(block.empty());
  EXPECT_EQ(block, Convert(learned));
  EXPECT_TRUE(messages.entries().empty());
  // Off, and any other 6000 layout, stay skipped as unknown codes.
  EXPECT_TRUE(Convert(rc6).empty());
  const Words longer = {0x6000, 0x0000, 0x0000, 0x0002, 0x0030, 0x00D1, 0x0001, 0x0002};
  EXPECT_TRUE(ConvertProntoCode(SourceOf(longer), warnings, Rc6Codes::kConvert).empty());
  const Words wide = {0x6000, 0x0000, 0x0000, 0x0001, 0x0130, 0x00D1};
  EXPECT_TRUE(ConvertProntoCode(SourceOf(wide), warnings, Rc6Codes::kConvert).empty());
  EXPECT_EQ(Captions(), std::vector<std::string>{"Unknown IR code"});
}

TEST_F(IrTest, SamplingStopsAtTheFirstWordPastTheEnd) {
  // 131070 pairs announced, one present: the pair of words 6 and 7 (the first
  // missing ones) is read, and nothing after it.
  const Words code = {0x0000, 0x006D, 0xFFFF, 0xFFFF, 0x0010, 0x0020};
  std::uint32_t reads = 0, last = 0;
  ProntoWordSource counted = [&](std::uint32_t i) -> std::uint16_t {
    ++reads;
    last = i;
    return i < code.size() ? code[i] : 0;
  };
  IrBlock block = ConvertProntoCode(counted, warnings, Rc6Codes::kSkip,
                                    static_cast<std::uint32_t>(code.size()));
  EXPECT_EQ(block, (IrBlock{0x05, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x00}));
  EXPECT_EQ(last, 7u);
  EXPECT_LT(reads, 12u);
}

}  // namespace
}  // namespace velmora
