#include "sectoredit/editor/sector_view.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace sectoredit::testing {
namespace {

TEST(SectorView, ZeroSectorRendersThirtyTwoRowsOfBothPanes) {
  const SectorArray zero{};
  const std::string hex = FormatHexPane(zero);
  ASSERT_EQ(hex.size(), 1598u);
  std::string row;
  for (int i = 0; i < 16; ++i) row += "00 ";
  EXPECT_EQ(hex.substr(0, 50), row + "\r\n");
  EXPECT_EQ(hex.substr(1550), row);
  const std::string chars = FormatCharPane(zero);
  ASSERT_EQ(chars.size(), 574u);
  EXPECT_EQ(chars.substr(0, 18), std::string(16, ' ') + "\r\n");
  EXPECT_EQ(chars.substr(558), std::string(16, ' '));
  EXPECT_EQ(FormatStatus(0, 0), "0000000000 of 0000000000");
  EXPECT_EQ(FormatStatus(12, 4294967295u), "0000000012 of 4294967295");
  EXPECT_EQ(FormatStatus(4294968296u, 9999999999u), "4294968296 of 9999999999");
  EXPECT_EQ(FormatStatus(7, 10000000000u), "0000000007 of 10000000000");
  EXPECT_EQ(FormatStatus(UINT64_MAX, UINT64_MAX),
            "18446744073709551615 of 18446744073709551615");
}

TEST(SectorView, ControlBytesShowAsSpacesOnlyInTheCharPane) {
  SectorArray sector{};
  for (uint32_t i = 0; i < kSectorSize; ++i) sector[i] = static_cast<uint8_t>(i);
  const std::string hex = FormatHexPane(sector);
  EXPECT_EQ(hex.substr(0, 48), "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
  EXPECT_EQ(hex.substr(50 * 15 + 45, 3), "FF ");
  const std::string chars = FormatCharPane(sector);
  const std::string first_row = {' ',    '\x01', '\x02', '\x03', '\x04', '\x05', '\x06', '\x07',
                                 '\x08', ' ',    ' ',    '\x0B', '\x0C', ' ',    '\x0E', '\x0F'};
  EXPECT_EQ(chars.substr(0, 16), first_row);
  EXPECT_EQ(chars[18 * 4 + 1], 'A');
  EXPECT_EQ(static_cast<uint8_t>(chars[18 * 15 + 15]), 0xFF);
  EXPECT_EQ(sector[0x0A], 0x0A) << "the display copy never changes the sector";
}

TEST(SectorView, SnapKeepsDigitsAndLeavesSeparatorsAndLineEnds) {
  EXPECT_EQ(SnapHexPosition(0), 0u);
  EXPECT_EQ(SnapHexPosition(1), 1u);
  EXPECT_EQ(SnapHexPosition(2), 3u);
  EXPECT_EQ(SnapHexPosition(46), 46u);
  EXPECT_EQ(SnapHexPosition(47), 50u);
  EXPECT_EQ(SnapHexPosition(48), 50u) << "a line end goes to the next row's start";
  EXPECT_EQ(SnapHexPosition(99), 100u);
  EXPECT_EQ(SnapHexPosition(1597), 1597u) << "nothing follows the last row";
  EXPECT_EQ(SnapHexPosition(1598), 1598u);
}

TEST(SectorView, CaretKeysStepOverSeparatorsAndStopAtTheEnds) {
  EXPECT_EQ(HexCaretRight(0), 1u);
  EXPECT_EQ(HexCaretRight(1), 3u);
  EXPECT_EQ(HexCaretRight(46), 50u);
  EXPECT_EQ(HexCaretRight(1595), 1596u);
  EXPECT_EQ(HexCaretRight(1596), 1596u);
  EXPECT_EQ(HexCaretLeft(0), 0u);
  EXPECT_EQ(HexCaretLeft(1), 0u);
  EXPECT_EQ(HexCaretLeft(3), 1u);
  EXPECT_EQ(HexCaretLeft(50), 46u);
  EXPECT_EQ(HexCaretLeft(48), 46u);
  EXPECT_EQ(HexCaretDown(1549), 1599u);
  EXPECT_EQ(HexCaretDown(0), 50u);
  EXPECT_EQ(HexCaretDown(1550), 1550u);
  EXPECT_EQ(HexCaretUp(49), 49u);
  EXPECT_EQ(HexCaretUp(50), 0u);
}

TEST(SectorView, DigitCommandsMapDBeforeCAndLowerCaseLetters) {
  const auto digit = [](uint32_t id) {
    const auto d = HexDigitOf(id);
    return d ? std::string{static_cast<char>('0' + d->value), d->character} : std::string("-");
  };
  EXPECT_EQ(digit(IDM_HEX_A), std::string({char('0' + 10), 'A'}));
  EXPECT_EQ(digit(40025), std::string({char('0' + 13), 'D'}));
  EXPECT_EQ(digit(40026), std::string({char('0' + 12), 'C'}));
  EXPECT_EQ(digit(40029), "11");
  EXPECT_EQ(digit(40037), "99");
  EXPECT_EQ(digit(40038), "00");
  EXPECT_EQ(digit(40060), std::string({char('0' + 10), 'a'}));
  EXPECT_EQ(digit(40065), std::string({char('0' + 15), 'f'}));
  EXPECT_EQ(digit(40039), "-");
  EXPECT_EQ(digit(40059), "-");
  EXPECT_EQ(digit(40066), "-");
}

}  // namespace
}  // namespace sectoredit::testing
