#include "sectoredit/editor/editor.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "editor_fixture.h"
#include "sectoredit/editor/sector_view.h"
#include "sectoredit/editor/select_disk.h"

namespace sectoredit::testing {
namespace {

using EditorEditing = EditorFixture;
using EditorCommands = EditorFixture;

constexpr uint32_t kLastCharPosition = 18 * 31 + 15;

TEST_F(EditorEditing, StartShowsZerosAndTheStatusOfNoSector) {
  Editor fresh({hex, chars, status}, messages);
  fresh.RenderSector();
  EXPECT_EQ(hex.Text(), FormatHexPane(SectorArray{}));
  EXPECT_EQ(chars.Text(), FormatCharPane(SectorArray{}));
  EXPECT_EQ(status.Text(), "0000000000 of 0000000000");
  EXPECT_TRUE(fresh.state.HexPaneActive);
  EXPECT_FALSE(fresh.state.Dirty);
}

TEST_F(EditorEditing, SevenThenFAtByte1FEndsOnTheNextRowsHighDigit) {
  Open();
  HexCaret(50 + 3 * 15);
  editor.Command(40035);  // "7"
  editor.Command(IDM_HEX_F);
  EXPECT_EQ(editor.state.SectorBuffer[0x1F], 0x7F);
  EXPECT_EQ(hex.Caret(), 100u) << "the high digit of byte 0x20";
  EXPECT_EQ(hex.Text().substr(95, 3), "7F ");
  EXPECT_EQ(static_cast<uint8_t>(chars.Text()[18 + 15]), 0x7F);
  EXPECT_TRUE(editor.state.Dirty);
  EXPECT_TRUE(disk.transfers().empty()) << "an edit stays in memory";
}

TEST_F(EditorEditing, DigitOnASeparatorEditsTheNextBytesHighNibble) {
  Open();
  HexCaret(2);
  editor.Command(IDM_HEX_A);
  EXPECT_EQ(editor.state.SectorBuffer[1], (0xA0 | (DefaultByte(0, 1) & 0x0F)));
  EXPECT_EQ(hex.Text()[3], 'A');
  EXPECT_EQ(hex.Caret(), 4u);
}

TEST_F(EditorEditing, DigitAtALineEndPlacedByTheMouseEditsTheNextRowStart) {
  Open();
  HexCaret(49);
  editor.Command(IDM_HEX_C);
  EXPECT_EQ(editor.state.SectorBuffer[16] >> 4, 0xC);
  EXPECT_EQ(hex.Text().substr(48, 3), "\r\nC");
  EXPECT_EQ(hex.Text().size(), kHexPaneLength) << "the pane's layout is intact";
}

TEST_F(EditorEditing, LowDigitOfByte511IsTheLastEditable) {
  Open();
  HexCaret(1596);
  editor.Command(IDM_HEX_0);
  EXPECT_EQ(editor.state.SectorBuffer[511], DefaultByte(0, 511) & 0xF0);
  EXPECT_EQ(hex.Caret(), 1597u);
  const SectorArray before = editor.state.SectorBuffer;
  const std::string text = hex.Text();
  editor.Command(IDM_HEX_E);
  EXPECT_EQ(editor.state.SectorBuffer, before) << "further digits are ignored";
  EXPECT_EQ(hex.Text(), text);
}

TEST_F(EditorEditing, DAndCCommandsAndLowerCaseDigits) {
  Open();
  HexCaret(0);
  editor.Command(40025);
  editor.Command(40026);
  EXPECT_EQ(editor.state.SectorBuffer[0], 0xDC);
  editor.Command(40060);  // "a" shows as "A"
  EXPECT_EQ(editor.state.SectorBuffer[1] >> 4, 0xA);
  EXPECT_EQ(hex.Text().substr(0, 4), "DC A");
}

TEST_F(EditorEditing, TypedCharactersGoToTheCharPaneCaretAndAdvance) {
  Open();
  editor.PaneClicked(false);
  CharCaret(15);
  editor.Command(IDM_CHAR_TYPED, 'g');
  EXPECT_EQ(editor.state.SectorBuffer[15], 0x67);
  EXPECT_EQ(hex.Text().substr(45, 2), "67");
  EXPECT_EQ(chars.Caret(), 18u) << "past column 15 the caret goes to the next row";
  editor.Command(IDM_CHAR_TYPED, 0x10D);  // only the low byte counts
  EXPECT_EQ(editor.state.SectorBuffer[16], 0x0D);
  EXPECT_EQ(chars.Text()[18], ' ');
  EXPECT_EQ(hex.Text().substr(50, 2), "0D");
  editor.Command(IDM_HEX_D);  // in the char pane a digit is its character
  EXPECT_EQ(editor.state.SectorBuffer[17], 'D');
  editor.Command(IDM_HEX_LOWER_A);
  EXPECT_EQ(editor.state.SectorBuffer[18], 'a');
}

TEST_F(EditorEditing, CaretAtALineEndTypesIntoTheNextRow) {
  Open();
  editor.PaneClicked(false);
  CharCaret(16);
  editor.Command(IDM_CHAR_TYPED, 'x');
  EXPECT_EQ(editor.state.SectorBuffer[16], 'x');
  EXPECT_EQ(chars.Caret(), 19u);
}

TEST_F(EditorEditing, LastCharPaneByteIsOverwrittenAgainAndAgain) {
  Open();
  editor.PaneClicked(false);
  CharCaret(kLastCharPosition);
  editor.Command(IDM_CHAR_TYPED, 'x');
  EXPECT_EQ(editor.state.SectorBuffer[511], 'x');
  EXPECT_EQ(chars.Caret(), kLastCharPosition);
  editor.Command(IDM_CHAR_TYPED, 'y');
  EXPECT_EQ(editor.state.SectorBuffer[511], 'y');
  EXPECT_EQ(editor.state.SectorBuffer[510], DefaultByte(0, 510));
  EXPECT_EQ(hex.Text().substr(1595, 2), "79");
}

TEST_F(EditorEditing, TypingAtTheEndOfTheLastRowIsIgnored) {
  Open();
  editor.PaneClicked(false);
  CharCaret(kCharPaneLength);
  editor.Command(IDM_CHAR_TYPED, 'x');
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(0));
  EXPECT_FALSE(editor.state.Dirty);
}

TEST_F(EditorEditing, TabSelectsTheByteUnderTheHexCaretAndSwitchesBack) {
  Open();
  HexCaret(50 + 3 * 15 + 1);
  editor.Command(IDM_SWITCH_PANE);
  EXPECT_EQ(chars.Caret(), 33u);
  EXPECT_EQ(chars.SelectionEnd(), 34u);
  EXPECT_EQ(focus, &chars);
  EXPECT_FALSE(editor.state.HexPaneActive);
  editor.Command(IDM_SWITCH_PANE);
  EXPECT_EQ(focus, &hex);
  EXPECT_TRUE(editor.state.HexPaneActive);
}

TEST_F(EditorEditing, CaretKeysMoveTheHexCaretWhicheverPaneIsActive) {
  Open();
  editor.PaneClicked(false);
  HexCaret(0);
  editor.Command(IDM_CARET_RIGHT);
  editor.Command(IDM_CARET_RIGHT);
  EXPECT_EQ(hex.Caret(), 3u);
  editor.Command(IDM_CARET_DOWN);
  EXPECT_EQ(hex.Caret(), 53u);
  editor.Command(IDM_CARET_LEFT);
  editor.Command(IDM_CARET_LEFT);
  EXPECT_EQ(hex.Caret(), 50u);
  editor.Command(IDM_CARET_LEFT);
  EXPECT_EQ(hex.Caret(), 46u);
  editor.Command(IDM_CARET_UP);
  EXPECT_EQ(hex.Caret(), 46u);
}

TEST_F(EditorCommands, NextAndPreviousWrapBetweenZeroAndLastSector) {
  Open();
  editor.Command(IDM_PREVIOUS_SECTOR);
  EXPECT_EQ(editor.state.CurrentSector, 999u);
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(999));
  EXPECT_EQ(status.Text(), "0000000999 of 0000000999");
  editor.Command(IDM_NEXT_SECTOR);
  EXPECT_EQ(editor.state.CurrentSector, 0u);
  editor.Command(IDM_NEXT_SECTOR);
  EXPECT_EQ(editor.state.CurrentSector, 1u);
  EXPECT_EQ(hex.Text(), FormatHexPane(DefaultSector(1)));
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(EditorCommands, NavigationPastTwoToTheThirtyTwoNeitherWrapsNorTruncates) {
  MemoryDisk big(6442450944u, 6442450943u);
  editor.SetDevice(&big);
  Open();
  editor.Command(IDM_PREVIOUS_SECTOR);
  EXPECT_EQ(status.Text(), "6442450943 of 6442450943");
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(6442450943u));
  editor.state.CurrentSector = 0xFFFFFFFFu;
  editor.Command(IDM_NEXT_SECTOR);
  EXPECT_EQ(status.Text(), "4294967296 of 6442450943");
  EXPECT_EQ(big.transfers().back(), (MemoryDisk::Transfer{'r', 4294967296u, 1}));
}

TEST_F(EditorCommands, PromptAnsweredNoDiscardsTheEditsAndStillMoves) {
  Open();
  editor.Command(IDM_ZERO_DATA);
  editor.Command(IDM_NEXT_SECTOR);
  ASSERT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(messages.entries()[0],
            (common::RecordedMessages::Entry{
                "Unsaved changes will be lost\nWould you like to save the changes?",
                "Save Changes?", true}));
  EXPECT_EQ(editor.state.CurrentSector, 1u);
  EXPECT_FALSE(editor.state.Dirty);
  EXPECT_EQ(disk.Sector(0), DefaultSector(0)) << "nothing was written";
}

TEST_F(EditorCommands, PromptAnsweredYesSavesBeforeMoving) {
  Open();
  editor.Command(IDM_ZERO_DATA);
  messages.QueueAnswer(true);
  editor.Command(IDM_PREVIOUS_SECTOR);
  EXPECT_EQ(disk.Sector(0), SectorArray{});
  EXPECT_EQ(editor.state.CurrentSector, 999u);
  EXPECT_FALSE(editor.state.Dirty);
}

TEST_F(EditorCommands, FailedSaveIsReportedKeepsDirtyAndStaysOnTheSector) {
  Open();
  disk.FailWrites(0, 0);
  editor.Command(IDM_ZERO_DATA);
  editor.Command(IDM_SAVE_SECTOR);
  EXPECT_EQ(messages.Lines().back(), "Data Error: Error writing sector");
  EXPECT_TRUE(editor.state.Dirty);
  messages.QueueAnswer(true);
  editor.Command(IDM_NEXT_SECTOR);
  EXPECT_EQ(messages.Lines().back(), "Data Error: Error writing sector");
  EXPECT_EQ(editor.state.CurrentSector, 0u);
  EXPECT_EQ(editor.state.SectorBuffer, SectorArray{}) << "the edits are still there";
  EXPECT_TRUE(editor.state.Dirty);
}

TEST_F(EditorCommands, SaveWritesTheBufferAndClearsDirty) {
  Open();
  editor.Command(IDM_ZERO_DATA);
  editor.Command(IDM_SAVE_SECTOR);
  EXPECT_EQ(disk.transfers(), (std::vector<MemoryDisk::Transfer>{{'w', 0, 1}}));
  EXPECT_EQ(disk.Sector(0), SectorArray{});
  EXPECT_FALSE(editor.state.Dirty);
}

TEST_F(EditorCommands, PasteBeforeAnyCopyFillsTheSectorWithZeros) {
  Open();
  editor.Command(IDM_PASTE_FROM_BUFFER);
  EXPECT_EQ(editor.state.SectorBuffer, SectorArray{});
  EXPECT_EQ(hex.Text(), FormatHexPane(SectorArray{}));
  EXPECT_TRUE(editor.state.Dirty);
}

TEST_F(EditorCommands, CopyThenPasteCarriesASectorToAnother) {
  Open();
  editor.Command(IDM_COPY_TO_BUFFER);
  editor.Command(IDM_NEXT_SECTOR);
  editor.Command(IDM_PASTE_FROM_BUFFER);
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(0));
  EXPECT_EQ(editor.state.CurrentSector, 1u);
  EXPECT_EQ(chars.Text(), FormatCharPane(DefaultSector(0)));
}

TEST_F(EditorCommands, UndoRereadsTheSectorAndReportsAFailedRead) {
  Open();
  editor.Command(IDM_ZERO_DATA);
  editor.Command(IDM_UNDO_CHANGES);
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(0));
  EXPECT_FALSE(editor.state.Dirty);
  disk.ShortReads(0, 0);
  editor.Command(IDM_UNDO_CHANGES);
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Data Error: Error accessing contents of sector"});
  EXPECT_EQ(editor.state.SectorBuffer, SectorArray{}) << "no stale bytes after a short read";
}

TEST_F(EditorCommands, NextOntoAnUnreadableSectorReportsAndShowsZeros) {
  Open();
  disk.FailReads(1, 1);
  editor.Command(IDM_NEXT_SECTOR);
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Data Error: Error accessing contents of sector"});
  EXPECT_EQ(editor.state.CurrentSector, 1u);
  EXPECT_EQ(editor.state.SectorBuffer, SectorArray{});
}

TEST_F(EditorCommands, WhileBusyOnlyCaretKeysAndTabAct) {
  Open();
  editor.state.Busy = true;
  HexCaret(0);
  for (uint32_t id :
       {IDM_SAVE_SECTOR, IDM_UNDO_CHANGES, IDM_PASTE_FROM_BUFFER, IDM_ZERO_DATA, IDM_NEXT_SECTOR,
        IDM_PREVIOUS_SECTOR, IDM_HEX_A, IDM_CHAR_TYPED, IDM_HEX_LOWER_F}) {
    EXPECT_TRUE(editor.Command(id, 'x')) << id;
  }
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(0));
  EXPECT_EQ(editor.state.CurrentSector, 0u);
  EXPECT_TRUE(disk.transfers().empty());
  editor.Command(IDM_CARET_RIGHT);
  editor.Command(IDM_SWITCH_PANE);
  EXPECT_EQ(hex.Caret(), 1u);
  EXPECT_FALSE(editor.state.HexPaneActive);
  EXPECT_FALSE(editor.Command(IDM_GOTO_SECTOR)) << "tools are dispatched elsewhere";
}

TEST_F(EditorCommands, SelectDiskReadsSectorZeroDirectlyOrReportsInTheDialogsBox) {
  OneDisk disks(disk);
  editor.state.CurrentSector = 5;
  editor.state.Dirty = true;
  EXPECT_FALSE(OpenSelectedDisk(editor, disks, "Logical E:"));
  EXPECT_EQ(messages.entries(),
            (std::vector<common::RecordedMessages::Entry>{
                {kSectorAccessError, kDataErrorCaption, false, common::kOwnedByDialog}}))
      << "reported once, by the box the dialog owns";
  EXPECT_EQ(hex.Text(), FormatHexPane(SectorArray{}));

  EXPECT_TRUE(OpenSelectedDisk(editor, disks, "Logical D:"));
  EXPECT_EQ(disk.transfers(), (std::vector<MemoryDisk::Transfer>{{'d', 0, 1}}));
  EXPECT_EQ(editor.state.CurrentSector, 0u);
  EXPECT_FALSE(editor.state.Dirty);
  EXPECT_EQ(hex.Text(), FormatHexPane(DefaultSector(0)));
  EXPECT_EQ(status.Text(), "0000000000 of 0000000999");
  EXPECT_EQ(messages.entries().size(), 1u);

  disks.refuse_others = true;
  EXPECT_FALSE(OpenSelectedDisk(editor, disks, "Logical E:"));
  EXPECT_EQ(messages.entries().size(), 1u) << "a refused disk has had its own box";
  EXPECT_EQ(hex.Text(), FormatHexPane(SectorArray{}));
}

TEST_F(EditorCommands, TypedTextOpensAFileOnlyByAnAbsolutePathNotBeginningWithL) {
  const std::string image = ::testing::TempDir() + "typed_disk.img";
  std::fclose(std::fopen(image.c_str(), "wb"));
  EXPECT_TRUE(IsImageFilePath(image));
  EXPECT_FALSE(IsImageFilePath(image + ".missing"));
  EXPECT_FALSE(IsImageFilePath("typed_disk.img")) << "relative";

  OneDisk disks(disk);
  OpenTypedDisk(editor, disks, image);
  EXPECT_TRUE(disks.list_entries.empty()) << "opened as a path";
  std::remove(image.c_str());
  EXPECT_TRUE(OpenTypedDisk(editor, disks, "Logical D:"));
  EXPECT_FALSE(OpenTypedDisk(editor, disks, "Physical D:/image.img"));
  EXPECT_EQ(disks.list_entries, (std::vector<std::string>{"Logical D:", "Physical D:/image.img"}));
}

}  // namespace
}  // namespace sectoredit::testing
