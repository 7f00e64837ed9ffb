#include "sectoredit/editor/sector_tools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "editor_fixture.h"
#include "sectoredit/editor/sector_view.h"
#include "sectoredit/editor/select_disk.h"

namespace sectoredit::testing {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// The disk's default contents of `count` sectors from `first`, as a file holds them.
std::vector<uint8_t> DefaultRun(uint64_t first, uint64_t count) {
  std::vector<uint8_t> bytes;
  for (uint64_t s = first; s < first + count; ++s) {
    const SectorArray sector = DefaultSector(s);
    bytes.insert(bytes.end(), sector.begin(), sector.end());
  }
  return bytes;
}

class ToolsFixture : public EditorFixture {
 protected:
  ToolsFixture() {
    image = fs::path(::testing::TempDir()) /
            (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".bin");
    fs::remove(image);
  }
  ~ToolsFixture() override { fs::remove(image); }

  void StartAt(SectorNumber sector) {
    Open();
    editor.state.CurrentSector = sector;
  }
  ToolResult Export(std::optional<uint32_t> count) {
    PresetCountDialog counts(count);
    PresetFileDialogs files(image.string());
    ToolResult result = SectorTools(editor, files, counts).ExportSectors(progress);
    disk_title = files.last_title();
    return result;
  }
  ToolResult Import(std::optional<uint32_t> count, std::string name) {
    PresetFileDialogs files(std::move(name));
    ToolResult result =
        SectorTools(editor, files, last_counts = PresetCountDialog(count)).ImportSectors(progress);
    disk_title = files.last_title();
    return result;
  }
  ToolResult Import(std::optional<uint32_t> count) { return Import(count, image.string()); }
  std::vector<MemoryDisk::Transfer> Writes() const {
    std::vector<MemoryDisk::Transfer> writes;
    for (const auto& t : disk.transfers()) {
      if (t.kind == 'w') writes.push_back(t);
    }
    return writes;
  }

  fs::path image;
  std::string disk_title;
  PresetCountDialog last_counts{std::nullopt};
  std::vector<std::string> shown;
  ToolProgress progress{[this](const std::string& text) { shown.push_back(text); }, {}};
};

using GotoSector = ToolsFixture;
using ExportSectors = ToolsFixture;
using ImportSectors = ToolsFixture;
using CopyBlock = ToolsFixture;

TEST(SectorFields, FieldValueIsZeroUnlessTheTextIsAnUnsignedNumber) {
  EXPECT_EQ(FieldValue(""), 0u);
  EXPECT_EQ(FieldValue("123"), 123u);
  EXPECT_EQ(FieldValue("4294967295"), 4294967295u);
  EXPECT_EQ(FieldValue("4294967296"), 4294967296u);
  EXPECT_EQ(FieldValue("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(FieldValue("18446744073709551616"), 0u);
  EXPECT_EQ(FieldValue("12a"), 0u);
  EXPECT_EQ(FieldValue("-1"), 0u);
  EXPECT_EQ(PercentComplete(44, 300), "14% Complete");
  EXPECT_EQ(PercentComplete(UINT64_MAX, UINT64_MAX), "100% Complete");
  EXPECT_EQ(PercentComplete(UINT64_MAX / 100 * 33, UINT64_MAX), "33% Complete");
}

TEST_F(GotoSector, AboveLastSectorLandsOnItAndAnEmptyFieldOnZero) {
  PresetFileDialogs files("");
  PresetCountDialog counts(std::nullopt);
  SectorTools tools(editor, files, counts);
  StartAt(5);
  editor.state.Dirty = true;
  tools.GotoSector(FieldValue("4000000000"));
  EXPECT_EQ(editor.state.CurrentSector, 999u);
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(999));
  EXPECT_FALSE(editor.state.Dirty);
  EXPECT_TRUE(messages.entries().empty()) << "no prompt about the dropped edits";
  tools.GotoSector(FieldValue(""));
  EXPECT_EQ(editor.state.CurrentSector, 0u);
  EXPECT_EQ(status.Text(), "0000000000 of 0000000999");
  EXPECT_EQ(disk.transfers(), (std::vector<MemoryDisk::Transfer>{{'d', 999, 1}, {'d', 0, 1}}));
  disk.FailReads(7, 7);
  tools.GotoSector(7);
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Data Error: Error accessing contents of sector"});
  EXPECT_EQ(messages.entries()[0].style, common::kOwnedByDialog) << "the Goto dialog's box";
}

// Whatever delivers them (window, dialog buttons, command line), the commands
// that transfer sectors do nothing while a search owns the disk.
TEST_F(ToolsFixture, WhileASearchRunsNoCommandTransfersOrAsks) {
  StartAt(5);
  editor.state.Busy = true;
  editor.state.Dirty = true;
  PresetFileDialogs files(image.string());
  SectorTools tools(editor, files, last_counts);
  tools.GotoSector(7);
  EXPECT_EQ(tools.ExportSectors(), ToolResult::kCancelled);
  EXPECT_EQ(tools.ImportSectors(), ToolResult::kCancelled);
  EXPECT_EQ(tools.CopyBlock(200, 3), ToolResult::kCancelled);
  EXPECT_FALSE(editor.SaveSector());
  editor.UndoChanges();
  editor.NextSector();
  editor.PreviousSector();
  OneDisk disks(disk);
  EXPECT_FALSE(OpenSelectedDisk(editor, disks, "Logical D:"));
  EXPECT_TRUE(disk.transfers().empty());
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_EQ(files.last_title(), "") << "no file dialog opened";
  EXPECT_EQ(editor.state.CurrentSector, 5u);
}

TEST_F(ExportSectors, ThreeHundredSectorsGoInChunksOf128And128And44) {
  StartAt(10);
  EXPECT_EQ(Export(300), ToolResult::kDone);
  EXPECT_EQ(disk_title, "Save Sector Image As");
  EXPECT_EQ(disk.transfers(),
            (std::vector<MemoryDisk::Transfer>{{'r', 10, 128}, {'r', 138, 128}, {'r', 266, 44}}));
  EXPECT_EQ(ReadFile(image), DefaultRun(10, 300));
  EXPECT_EQ(shown, (std::vector<std::string>{"42% Complete", "85% Complete", "100% Complete"}));
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_EQ(editor.state.CurrentSector, 10u) << "the view is unchanged";
}

TEST_F(ExportSectors, CountZeroLeavesTheFileTruncated) {
  WriteFile(image, {1, 2, 3});
  StartAt(0);
  EXPECT_EQ(Export(0), ToolResult::kCancelled);
  ASSERT_TRUE(fs::exists(image));
  EXPECT_EQ(fs::file_size(image), 0u);
}

TEST_F(ExportSectors, StopsBeforeLastSector) {
  StartAt(999);
  Export(128);
  EXPECT_EQ(fs::file_size(image), 0u);
  StartAt(989);
  Export(128);
  EXPECT_EQ(ReadFile(image), DefaultRun(989, 10));
}

TEST_F(ExportSectors, NearTheTopSectorNumberNothingWraps) {
  MemoryDisk big(uint64_t{1} << 32, 0xFFFFFFFFu);
  editor.SetDevice(&big);
  editor.state.CurrentSector = 0xFFFFFFF0u;
  Export(100);
  EXPECT_EQ(big.transfers(), (std::vector<MemoryDisk::Transfer>{{'r', 0xFFFFFFF0u, 15}}));
  EXPECT_EQ(fs::file_size(image), 15u * 512);
}

TEST_F(ExportSectors, AFailedReadIsReportedAndStopsTheExport) {
  StartAt(0);
  disk.FailReads(200, 200);
  EXPECT_EQ(Export(300), ToolResult::kFailed);
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{
                                  "Export Error: Error Exporting to file.  Click OK to continue"});
  EXPECT_EQ(disk.transfers().size(), 2u);
  EXPECT_EQ(ReadFile(image), DefaultRun(0, 128));
}

TEST_F(ExportSectors, AFileThatCannotBeCreatedIsReported) {
  image = image / "missing-folder" / "x.bin";
  StartAt(0);
  EXPECT_EQ(Export(1), ToolResult::kFailed);
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{
                                  "Export Error: Error Exporting to file.  Click OK to continue"});
  EXPECT_TRUE(disk.transfers().empty());
}

TEST_F(ImportSectors, A600ByteFileProposesTwoSectorsAndZeroFillsTheSecond) {
  std::vector<uint8_t> bytes(600);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  WriteFile(image, bytes);
  StartAt(20);
  EXPECT_EQ(Import(std::nullopt), ToolResult::kDone);
  EXPECT_EQ(disk_title, "Open Sector Image");
  EXPECT_EQ(last_counts.last_initial(), 2u);
  EXPECT_EQ(Writes(), (std::vector<MemoryDisk::Transfer>{{'w', 20, 2}}));
  std::vector<uint8_t> expected = bytes;
  expected.resize(1024, 0);
  std::vector<uint8_t> written;
  for (uint64_t s : {20, 21}) {
    const SectorArray sector = disk.Sector(s);
    written.insert(written.end(), sector.begin(), sector.end());
  }
  EXPECT_EQ(written, expected);
  EXPECT_EQ(disk.Sector(22), DefaultSector(22));
  EXPECT_EQ(editor.state.SectorBuffer, disk.Sector(20)) << "the view shows the imported sector";
  EXPECT_EQ(hex.Text(), FormatHexPane(disk.Sector(20)));
}

TEST_F(ImportSectors, AFileEndingBeforeTheCountStopsAtItsEnd) {
  WriteFile(image, DefaultRun(500, 3));
  StartAt(0);
  EXPECT_EQ(Import(200), ToolResult::kDone);
  EXPECT_EQ(Writes(), (std::vector<MemoryDisk::Transfer>{{'w', 0, 3}}));
  EXPECT_EQ(disk.Sector(3), DefaultSector(3));
}

TEST_F(ImportSectors, StopsBeforeLastSector) {
  WriteFile(image, DefaultRun(0, 200));
  StartAt(999);
  Import(128);
  EXPECT_TRUE(Writes().empty());
  StartAt(989);
  Import(128);
  EXPECT_EQ(Writes(), (std::vector<MemoryDisk::Transfer>{{'w', 989, 10}}));
  EXPECT_EQ(disk.Sector(998), DefaultSector(9));
  EXPECT_EQ(disk.Sector(999), DefaultSector(999));
}

TEST_F(ImportSectors, FailedChunkWriteAnsweredYesGoesOn) {
  WriteFile(image, DefaultRun(5000, 300));
  disk.FailWrites(200, 200);
  StartAt(10);
  messages.QueueAnswer(true);
  EXPECT_EQ(Import(std::nullopt), ToolResult::kDone);
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Error: Error encountered writing at sector 138\n"
                                     "Do you wish to ignore errors and continue?"});
  EXPECT_EQ(messages.entries()[0].style,
            (common::MessageStyle{.icon = common::MessageStyle::Icon::kError}))
      << "the main window's box, with the error icon";
  EXPECT_EQ(Writes(),
            (std::vector<MemoryDisk::Transfer>{{'w', 10, 128}, {'w', 138, 128}, {'w', 266, 44}}));
  EXPECT_EQ(disk.Sector(309), DefaultSector(5299));
  EXPECT_EQ(shown.back(), "100% Complete");
}

TEST_F(ImportSectors, FailedChunkWriteAnsweredNoStops) {
  WriteFile(image, DefaultRun(5000, 300));
  disk.FailWrites(200, 200);
  StartAt(10);
  EXPECT_EQ(Import(std::nullopt), ToolResult::kFailed);
  EXPECT_EQ(Writes().size(), 2u);
  EXPECT_EQ(disk.Sector(266), DefaultSector(266));
  EXPECT_FALSE(editor.state.Dirty);
}

TEST_F(ImportSectors, NothingImportedKeepsUnsavedEdits) {
  StartAt(3);
  editor.Command(IDM_ZERO_DATA);
  EXPECT_EQ(Import(std::nullopt, ""), ToolResult::kCancelled);
  EXPECT_TRUE(editor.state.Dirty);
  EXPECT_EQ(Import(std::nullopt, (image / "missing").string()), ToolResult::kFailed);
  EXPECT_EQ(
      messages.Lines(),
      std::vector<std::string>{"Import Error: Error Importing from file.  Click OK to continue"});
  WriteFile(image, DefaultRun(0, 1));
  EXPECT_EQ(Import(0), ToolResult::kCancelled);
  EXPECT_TRUE(editor.state.Dirty);
  EXPECT_EQ(editor.state.SectorBuffer, SectorArray{});
  EXPECT_TRUE(disk.transfers().empty());
}

// Remembers the name each dialog was preset with.
class RememberingDialogs : public FileDialogs {
 public:
  bool Choose(const FileDialogRequest& request, std::string& name) override {
    presets.push_back(name);
    if (request.save) name = chosen;
    return true;
  }
  std::vector<std::string> presets;
  std::string chosen;
};

TEST_F(ImportSectors, TheNameChosenForExportIsOfferedForImport) {
  RememberingDialogs files;
  files.chosen = image.string();
  PresetCountDialog counts(1);
  SectorTools tools(editor, files, counts);
  StartAt(0);
  tools.ExportSectors();
  tools.ImportSectors();
  EXPECT_EQ(files.presets, (std::vector<std::string>{"", image.string()}));
  EXPECT_EQ(Writes(), (std::vector<MemoryDisk::Transfer>{{'w', 0, 1}}));
}

TEST_F(CopyBlock, ZeroSectorsStillReportsCompletion) {
  PresetFileDialogs files("");
  PresetCountDialog counts(std::nullopt);
  StartAt(4);
  EXPECT_EQ(SectorTools(editor, files, counts).CopyBlock(FieldValue("100"), FieldValue("")),
            ToolResult::kDone);
  EXPECT_EQ(
      messages.Lines(),
      std::vector<std::string>{"Copy Complete: Copying of sectors has been completed succesfully"});
  EXPECT_TRUE(disk.transfers().empty());
}

class CopyRuns : public CopyBlock {
 protected:
  ToolResult Copy(SectorNumber source, SectorNumber destination, SectorNumber total) {
    PresetFileDialogs files("");
    PresetCountDialog counts(std::nullopt);
    StartAt(source);
    return SectorTools(editor, files, counts).CopyBlock(destination, total, progress);
  }
  void ExpectCopied(uint64_t source, uint64_t destination, uint64_t total) {
    for (uint64_t i = 0; i < total; ++i) {
      ASSERT_EQ(disk.Sector(destination + i), DefaultSector(source + i)) << "sector " << i;
    }
  }
};

TEST_F(CopyRuns, ChunksCarryTheRunAndShowProgress) {
  EXPECT_EQ(Copy(0, 500, 300), ToolResult::kDone);
  ExpectCopied(0, 500, 300);
  EXPECT_EQ(shown, (std::vector<std::string>{"42% Complete", "85% Complete", "100% Complete"}));
  EXPECT_EQ(Writes().front(), (MemoryDisk::Transfer{'w', 500, 128}));
  EXPECT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(editor.state.SectorBuffer, DefaultSector(0)) << "the view is not refreshed";
}

TEST_F(CopyRuns, DestinationInsideTheSourceCopiesBackwards) {
  EXPECT_EQ(Copy(10, 50, 300), ToolResult::kDone);
  ExpectCopied(10, 50, 300);
  EXPECT_EQ(Writes().front(), (MemoryDisk::Transfer{'w', 50 + 172, 128}));
}

TEST_F(CopyRuns, DestinationBelowTheSourceCopiesForwards) {
  EXPECT_EQ(Copy(50, 10, 300), ToolResult::kDone);
  ExpectCopied(50, 10, 300);
  EXPECT_EQ(Writes().front(), (MemoryDisk::Transfer{'w', 10, 128}));
}

TEST_F(CopyRuns, IsNotLimitedByLastSector) {
  disk = MemoryDisk(2000, 999);
  EXPECT_EQ(Copy(900, 1500, 200), ToolResult::kDone);
  ExpectCopied(900, 1500, 200);
}

TEST_F(CopyRuns, StopsAtTheFirstFailedReadWithoutWritingStaleData) {
  disk.FailReads(200, 200);
  EXPECT_EQ(Copy(0, 500, 300), ToolResult::kFailed);
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Data Error: Error accessing contents of sector"});
  EXPECT_EQ(Writes(), (std::vector<MemoryDisk::Transfer>{{'w', 500, 128}}));
  EXPECT_EQ(disk.Sector(628), DefaultSector(628));
}

TEST_F(CopyRuns, StopsAtTheFirstFailedWrite) {
  disk.FailWrites(600, 600);
  EXPECT_EQ(Copy(0, 500, 300), ToolResult::kFailed);
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Data Error: Error accessing contents of sector"});
  EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(CopyRuns, ARunPastTheTopSectorNumberIsRefusedRatherThanWrapped) {
  MemoryDisk big(UINT64_MAX, UINT64_MAX - 1);
  editor.SetDevice(&big);
  const SectorNumber top_run = UINT64_MAX - 0x100;  // 0x101 sectors up to the top number
  EXPECT_EQ(Copy(top_run, 0, 0x102), ToolResult::kFailed);
  EXPECT_EQ(Copy(0, top_run, 0x102), ToolResult::kFailed);
  for (const auto& t : big.transfers()) EXPECT_EQ(t.kind, 'd') << "only the view's own read";
  EXPECT_EQ(Copy(0, top_run, 0x100), ToolResult::kDone);
  EXPECT_EQ(big.Sector(UINT64_MAX - 1), DefaultSector(0xFF));
}

}  // namespace
}  // namespace sectoredit::testing
