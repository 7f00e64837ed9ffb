// Search Disk: pattern entry, the chunked scan and the worker thread. Every
// suite here has "Search" in its name so the ThreadSanitizer run selects it.
#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "sectoredit/editor/disk_search.h"
#include "sectoredit/editor/sector_view.h"
#include "task_queue.h"

namespace sectoredit::testing {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
  return bytes;
}

SearchState HexState(std::string_view digits) {
  SearchState state;
  ChooseSearchMode(state, true);
  for (char c : digits) {
    const uint8_t value = static_cast<uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
    EnterHexDigit(state, value, c);
  }
  return state;
}

TEST(SearchEntry, DigitsBuildBytesAndSpacedPairs) {
  SearchState state = HexState("4D5A1");
  EXPECT_EQ(state.hex_text, "4D 5A 1");
  EXPECT_EQ(state.nibble_count, 5);
  EXPECT_FALSE(state.high_nibble_next);
  EXPECT_EQ(state.SearchPattern[0], 0x4D);
  EXPECT_EQ(state.SearchPattern[1], 0x5A);
  EXPECT_EQ(state.SearchPattern[2], 0x10);
  EXPECT_FALSE(CanStartSearch(state));
  EXPECT_TRUE(EraseHexDigit(state));
  EXPECT_EQ(state.hex_text, "4D 5A ");
  EXPECT_EQ(state.SearchPattern[2], 0x00);
  EXPECT_TRUE(CanStartSearch(state));
  EXPECT_TRUE(EraseHexDigit(state));
  EXPECT_EQ(state.hex_text, "4D 5");
  EXPECT_EQ(state.SearchPattern[1], 0x50);
  EXPECT_EQ(TakeSearchPattern(state, "ignored"), Bytes({0x4D}));
}

TEST(SearchEntry, FiftyDigitsAtMostAndNoneToErase) {
  SearchState state = HexState(std::string(50, 'F'));
  EXPECT_FALSE(EnterHexDigit(state, 1, '1'));
  EXPECT_EQ(state.nibble_count, 50);
  EXPECT_EQ(state.hex_text.size(), 75u);
  EXPECT_EQ(TakeSearchPattern(state, "").size(), 25u);
  SearchState empty;
  EXPECT_FALSE(EraseHexDigit(empty));
}

TEST(SearchEntry, ModeSwitchesClearThePatternAndTheDialogStartShowsIt) {
  SearchState state;
  EXPECT_EQ(TakeSearchPattern(state, std::string(60, 'x')), std::vector<uint8_t>(49, 'x'));
  EXPECT_EQ(SearchFieldText(state), std::string(49, 'x'));
  EXPECT_FALSE(ChooseSearchMode(state, false)) << "the mode in force changes nothing";
  EXPECT_TRUE(ChooseSearchMode(state, true));
  EXPECT_EQ(SearchFieldText(state), "") << "the first two bytes were cleared";
  EnterHexDigit(state, 4, '4');
  EXPECT_EQ(SearchFieldText(state), "4");
  EXPECT_TRUE(ChooseSearchMode(state, false));
  EXPECT_EQ(state.nibble_count, 0);
  EXPECT_TRUE(state.high_nibble_next);
  EXPECT_EQ(state.SearchPattern[0], 0);
}

TEST(SearchScan, FindsTheFirstOccurrenceWhollyInsideTheChunk) {
  const std::vector<uint8_t> chunk = Bytes({1, 4, 4, 5, 4, 5, 9});
  EXPECT_EQ(FindPattern(chunk, Bytes({4, 5})), 2u);
  EXPECT_EQ(FindPattern(chunk, Bytes({1})), 0u);
  EXPECT_EQ(FindPattern(chunk, Bytes({5, 9})), 5u);
  EXPECT_EQ(FindPattern(chunk, Bytes({9, 0})), std::nullopt);
  EXPECT_EQ(FindPattern(chunk, Bytes({4, 6})), std::nullopt);
  EXPECT_EQ(FindPattern(chunk, {}), std::nullopt);
  EXPECT_EQ(FindPattern(Bytes({1}), Bytes({1, 1})), std::nullopt);
  EXPECT_EQ(SearchProgress(127, 999), "12.713% Complete");
  EXPECT_EQ(SearchProgress(0, 999), "0.000% Complete");
}

class SearchSectorsTest : public ::testing::Test {
 protected:
  SearchOutcome Search(uint32_t first, std::vector<uint8_t> pattern) {
    return SearchSectors(
        disk, first, disk.LastSector(), pattern, running,
        [this](uint64_t offset, uint64_t span) { shown.push_back(SearchProgress(offset, span)); });
  }
  MemoryDisk disk{1000, 999};
  std::atomic<bool> running{true};
  std::vector<std::string> shown;
};

TEST_F(SearchSectorsTest, HexPatternAcrossAChunkBoundaryLandsOnTheSectorOfItsFirstByte) {
  disk.SetBytes(10 + 127, 511, Bytes({0x4D, 0x5A}));
  SearchState state = HexState("4D5A");
  const SearchOutcome outcome = Search(10, TakeSearchPattern(state, ""));
  EXPECT_EQ(outcome.kind, SearchOutcome::kFound);
  EXPECT_EQ(outcome.sector, 137u);
  EXPECT_EQ(disk.transfers(), (std::vector<MemoryDisk::Transfer>{{'d', 10, 128}, {'d', 137, 128}}))
      << "each chunk starts with the last sector of the one before";
  EXPECT_EQ(shown.size(), 2u);
}

TEST_F(SearchSectorsTest, StopsBeforeLastSectorAndCoversTheRestInOverlappingChunks) {
  disk.SetBytes(999, 0, Bytes({0x4D, 0x5A}));
  EXPECT_EQ(Search(0, Bytes({0x4D, 0x5A})).kind, SearchOutcome::kNotFound);
  const auto& t = disk.transfers();
  ASSERT_EQ(t.size(), 8u);  // 7 chunks of 128 step 127 sectors, then the last 110
  EXPECT_EQ(t.back(), (MemoryDisk::Transfer{'d', 889, 110}));
  EXPECT_EQ(shown.front(), "0.000% Complete");
  EXPECT_EQ(Search(999, Bytes({0x4D})).kind, SearchOutcome::kNotFound);
}

TEST_F(SearchSectorsTest, OneSectorChunksStillAdvance) {
  disk.SetBytes(998, 5, Bytes({'h', 'i'}));
  const SearchOutcome outcome = Search(998, Bytes({'h', 'i'}));
  EXPECT_EQ(outcome.kind, SearchOutcome::kFound);
  EXPECT_EQ(outcome.sector, 998u);
}

TEST_F(SearchSectorsTest, UnreadBytesNeverMakeAHit) {
  for (uint32_t s = 0; s < 1000; ++s) disk.SetSector(s, SectorArray{});
  disk.FailReads(0, 10);
  disk.ShortReads(200, 200);
  EXPECT_EQ(Search(0, Bytes({0xEE})).kind, SearchOutcome::kNotFound)
      << "the junk a failed read leaves is not searched";
  EXPECT_EQ(Search(0, Bytes({})).kind, SearchOutcome::kNotFound);
}

TEST_F(SearchSectorsTest, AClearedRunningFlagStopsBeforeTheNextChunk) {
  running = false;
  EXPECT_EQ(Search(0, Bytes({0x4D})).kind, SearchOutcome::kNotFound);
  EXPECT_TRUE(disk.transfers().empty());
}

// A window's queue: while `holding`, it keeps the one task it holds and
// refuses every further post, as a full Windows queue does.
class SlowQueue : public TaskQueue {
 public:
  bool Post(std::function<void()> task) override {
    ++attempts;
    if (holding && held_one.exchange(true)) return false;
    return TaskQueue::Post(std::move(task));
  }
  std::atomic<bool> holding{false};
  std::atomic<bool> held_one{false};
  std::atomic<int> attempts{0};
};

// The dialog and its thread, with the user-interface side pumped by the test.
class SearchDialogTest : public EditorFixture {
 protected:
  SearchDialogTest() {
    Open();
    search.Open(dialog());
  }
  DiskSearch::Dialog dialog() {
    return {field, progress, [this] {
              ++closes;
              search.Close();
            }};
  }
  void TypeDigits(std::initializer_list<uint32_t> ids) {
    for (uint32_t id : ids) search.HexDigitCommand(id);
  }
  // Pumps the user-interface queue until the dialog closes.
  void RunToClose() {
    for (int i = 0; i < 2000 && search.is_open(); ++i)
      queue.WaitAndPump(5);
    ASSERT_FALSE(search.is_open());
  }

  MemoryPane field;
  MemoryPane progress;
  SlowQueue queue;
  DiskSearch search{editor, queue};
  int closes = 0;
};

TEST_F(SearchDialogTest, HexSearchOnTheThreadLandsOnTheHitAndCloses) {
  disk.SetBytes(300, 511, Bytes({0x4D, 0x5A}));
  search.ChooseMode(true);
  TypeDigits({40032, IDM_HEX_D, 40033, IDM_HEX_A});  // 4 D 5 A
  EXPECT_EQ(field.Text(), "4D 5A ");
  editor.state.Dirty = true;
  ASSERT_TRUE(search.StartSearch());
  EXPECT_TRUE(editor.state.Busy);
  RunToClose();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(editor.state.Busy);
  EXPECT_EQ(editor.state.CurrentSector, 300u);
  EXPECT_EQ(editor.state.SectorBuffer, disk.Sector(300));
  EXPECT_EQ(hex.Text(), FormatHexPane(disk.Sector(300)));
  EXPECT_FALSE(editor.state.Dirty);
  EXPECT_EQ(progress.Text(), "25.425% Complete");
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(SearchDialogTest, ThreeDigitsRefuseToStart) {
  search.ChooseMode(true);
  TypeDigits({40032, IDM_HEX_D, 40033});
  EXPECT_FALSE(search.StartSearch());
  EXPECT_FALSE(editor.state.Busy);
  search.EraseDigit();
  EXPECT_EQ(field.Text(), "4D ");
  EXPECT_TRUE(search.StartSearch());
  RunToClose();
}

TEST_F(SearchDialogTest, AsciiSearchForTextInTheCurrentSectorLandsOnIt) {
  disk.SetBytes(42, 100, Bytes({'F', 'A', 'T', '3', '2'}));
  editor.state.CurrentSector = 42;
  field.SetText("FAT32");
  TypeDigits({IDM_HEX_A});
  EXPECT_EQ(field.Text(), "FAT32") << "digit commands feed only the hex pattern";
  ASSERT_TRUE(search.StartSearch());
  RunToClose();
  EXPECT_EQ(editor.state.CurrentSector, 42u);
  EXPECT_EQ(SearchFieldText(search.state), "FAT32") << "the pattern is kept for the next opening";
}

TEST_F(SearchDialogTest, NotFoundLeavesTheViewAndShowsNoMessage) {
  editor.state.CurrentSector = 7;
  field.SetText("no such text");
  ASSERT_TRUE(search.StartSearch());
  RunToClose();
  EXPECT_EQ(editor.state.CurrentSector, 7u);
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(0));
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_FALSE(editor.state.Busy);
}

TEST_F(SearchDialogTest, AHitThatCannotBeReadIsReportedOnTheInterfaceThread) {
  disk.SetBytes(500, 0, Bytes({'z', 'q'}));
  disk.FailReads(500, 500, false);
  field.SetText("zq");
  ASSERT_TRUE(search.StartSearch());
  RunToClose();
  EXPECT_EQ(editor.state.CurrentSector, 500u);
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Data Error: Error accessing contents of sector"});
  EXPECT_EQ(messages.entries()[0].style, common::kOwnedByDialog) << "the search dialog's box";
  EXPECT_EQ(editor.state.SectorBuffer, SectorArray{});
}

TEST_F(SearchDialogTest, ClosingDuringASearchStopsAndWaitsForTheThread) {
  MemoryDisk big(2000000, 1999999);
  editor.SetDevice(&big);
  field.SetText("absent pattern");
  ASSERT_TRUE(search.StartSearch());
  EXPECT_FALSE(search.StartSearch()) << "busy";
  queue.WaitAndPump(50);
  search.Close();
  EXPECT_FALSE(editor.state.Busy);
  EXPECT_FALSE(search.is_open());
  const size_t reads = big.transfers().size();
  EXPECT_LT(reads, 15748u) << "stopped before the end of the disk";
  queue.Pump();  // the thread's last posts change nothing now
  EXPECT_EQ(big.transfers().size(), reads);
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(search.Open(dialog()));
  EXPECT_EQ(field.Text(), "absent pattern");
}

TEST_F(SearchDialogTest, OneProgressNoticeShowsTheLatestOffsetAndTheFinishIsNeverLost) {
  queue.holding = true;
  field.SetText("absent pattern");
  ASSERT_TRUE(search.StartSearch());
  // 8 chunks and the finish are 9 posts at most: more mean the finish is retried.
  for (int i = 0; i < 1000 && queue.attempts < 12; ++i) PauseThread(5);
  ASSERT_GE(queue.attempts, 12);
  queue.holding = false;
  RunToClose();
  EXPECT_EQ(progress.Text(), SearchProgress(889, 999)) << "the last chunk's offset";
  EXPECT_FALSE(editor.state.Busy);
}

TEST_F(SearchDialogTest, AnEmptyPatternEndsAtOnce) {
  ASSERT_TRUE(search.StartSearch());
  RunToClose();
  EXPECT_TRUE(disk.transfers().empty());
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_FALSE(search.Open(dialog()) && search.Open(dialog())) << "opening twice does nothing";
}

}  // namespace
}  // namespace sectoredit::testing
