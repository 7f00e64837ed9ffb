#include "converter/output/pdb_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/messages.h"
#include "tests/output/output_test_util.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velmora {
namespace {

using testing::ReadWholeFile;
using testing::ScratchDir;
using testing::Slice;
using testing::WriteWholeFile;
using Lines = std::vector<std::string>;

// Entries as the category list holds them: offset digits, " - ", panel name.
std::vector<std::string> Entries(const std::vector<std::string>& names) {
  std::vector<std::string> entries;
  for (const std::string& name : names) entries.push_back("0000ABCD - " + name);
  return entries;
}

std::string LabelAt(const std::vector<std::uint8_t>& app_info, int k) {
  const char* start = reinterpret_cast<const char*>(app_info.data() + 2 + 16 * k);
  return std::string(start, strnlen(start, 16));
}

TEST(PdbHeader, HalvestoneWithThreeRecordsMatchesTheWorkedBytes) {
  const std::vector<std::uint8_t> expected = {
      0x48, 0x61, 0x6C, 0x76, 0x65, 0x73, 0x74, 0x6F, 0x6E, 0x65, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3F, 0xE8, 0xD7,
      0x00, 0x3F, 0xE8, 0xD7, 0x00, 0x3F, 0xE8, 0xD7, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x66, 0x00, 0x00, 0x00, 0x00, 0x44, 0x61, 0x74, 0x61, 0x71,
      0x4C, 0x75, 0x78, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03};
  EXPECT_EQ(BuildPdbHeader("Halvestone", 3), expected);
}

TEST(PdbHeader, LongNamesAreCutTo31CharactersAndTheTerminator) {
  std::string name(40, 'x');
  Bytes header = BuildPdbHeader(name, 0);
  EXPECT_EQ(std::string(header.begin(), header.begin() + 31), std::string(31, 'x'));
  EXPECT_EQ(header[31], 0);
  Bytes fits = BuildPdbHeader(std::string(31, 'y'), 0);
  EXPECT_EQ(std::string(fits.begin(), fits.begin() + 32), std::string(31, 'y') + '\0');
}

TEST(PdbHeader, DatabaseNameDropsFolderAndExtension) {
  EXPECT_EQ(DatabaseNameFromPath("C:\\Palm\\out\\Halvestone.PDB"), "Halvestone");
  EXPECT_EQ(DatabaseNameFromPath("/tmp/x.y/Halvestone.PDB"), "Halvestone");
  EXPECT_EQ(DatabaseNameFromPath("plain"), "plain");
  EXPECT_EQ(DatabaseNameFromPath("a.b.pdb"), "a.b");
}

TEST(CategoryLabels, NamesAreCutAfterThePrefixAndEmptyNamesKeepTheEntry) {
  EXPECT_EQ(CategoryLabel("0000ABCD - Living room lights"), "Living room lig");
  EXPECT_EQ(CategoryLabel("0000ABCD - TV"), "TV");
  EXPECT_EQ(CategoryLabel("0000ABCD - Q"), "Q");
  EXPECT_EQ(CategoryLabel("0000ABCD - "), "0000ABCD - ");
}

TEST(CategoryBlock, WithoutCategoriesOnlyUnfiledIsSet) {
  Bytes block = BuildCategoryAppInfo({});
  ASSERT_EQ(block.size(), kCategoryAppInfoSize);
  Bytes expected(kCategoryAppInfoSize, 0);
  std::string unfiled = "Unfiled";
  std::copy(unfiled.begin(), unfiled.end(), expected.begin() + 2);
  EXPECT_EQ(block, expected);
}

TEST(CategoryBlock, FifteenCategoriesUseEveryLabelAndId) {
  std::vector<std::string> names;
  for (int k = 1; k <= 15; ++k) names.push_back("Panel " + std::to_string(k));
  Bytes block = BuildCategoryAppInfo(Entries(names));
  EXPECT_EQ(LabelAt(block, 0), "Unfiled");
  for (int k = 1; k <= 15; ++k) EXPECT_EQ(LabelAt(block, k), names[k - 1]);
  for (int k = 0; k <= 15; ++k) EXPECT_EQ(block[258 + k], k);
  EXPECT_EQ(block[274], 15);
  EXPECT_EQ(block[275], 0);
}

TEST(CategoryBlock, TwoCategoriesLeaveTheRestZero) {
  Bytes block = BuildCategoryAppInfo(Entries({"TV", "Living room lights"}));
  EXPECT_EQ(LabelAt(block, 1), "TV");
  EXPECT_EQ(LabelAt(block, 2), "Living room lig");
  for (int k = 3; k <= 15; ++k) EXPECT_EQ(LabelAt(block, k), "");
  EXPECT_EQ(Slice(block, 258, 4), (std::vector<std::uint8_t>{0, 1, 2, 0}));
  EXPECT_EQ(block[274], 2);
}

class PdbWriterTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  common::RecordedMessages messages;
  std::string path = dir.File("Halvestone.PDB");

  Lines Shown() const { return messages.Lines(); }
  bool OnlyTargetInFolder() const {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      ++files;
      if (entry.path().filename() != "Halvestone.PDB") return false;
    }
    return files == 1;
  }
};

TEST_F(PdbWriterTest, EmptyDatabaseIs354Bytes) {
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 0, {}), 0);
  ASSERT_TRUE(writer.Finish());
  Bytes file = ReadWholeFile(path);
  ASSERT_EQ(file.size(), 354u);
  EXPECT_EQ(Slice(file, 0, 78), BuildPdbHeader("Halvestone", 0));
  EXPECT_EQ(Slice(file, 52, 4), (std::vector<std::uint8_t>{0, 0, 0, 78}));
  EXPECT_EQ(Slice(file, 78, 276), BuildCategoryAppInfo({}));
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(OnlyTargetInFolder());
}

TEST_F(PdbWriterTest, RecordsGetConsecutiveEntriesAndUniqueIds) {
  PdbWriter writer(messages);
  std::vector<std::string> categories = Entries({"TV"});
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 3, categories), 0);
  EXPECT_EQ(writer.size(), 378u);
  EXPECT_EQ(writer.AppendRecordEntry(0), 0x1000u);
  writer.AppendRecordBytes(Bytes{1, 2, 3, 4, 5});
  EXPECT_EQ(writer.AppendRecordEntry(1), 0x1001u);  // a record without bytes
  EXPECT_EQ(writer.AppendRecordEntry(1), 0x1002u);
  writer.AppendRecordBytes(Bytes{9});
  EXPECT_EQ(writer.record_index(), 3u);
  EXPECT_EQ(writer.unique_id_counter(), 0x1003u);
  ASSERT_TRUE(writer.Finish());

  Bytes file = ReadWholeFile(path);
  ASSERT_EQ(file.size(), 378u + 6);
  EXPECT_EQ(Slice(file, 0, 78), BuildPdbHeader("Halvestone", 3));
  const std::vector<std::uint8_t> entries = {
      0x00, 0x00, 0x01, 0x7A, 0x00, 0x00, 0x10, 0x00,   // 378, category 0
      0x00, 0x00, 0x01, 0x7F, 0x01, 0x00, 0x10, 0x01,   // 383: no bytes of its own
      0x00, 0x00, 0x01, 0x7F, 0x01, 0x00, 0x10, 0x02};  // 383, the same offset
  EXPECT_EQ(Slice(file, 78, 24), entries);
  EXPECT_EQ(Slice(file, 102, 276), BuildCategoryAppInfo(categories));
  EXPECT_EQ(Slice(file, 378, 6), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 9}));
}

TEST_F(PdbWriterTest, WhileInProgressTheTargetIsUntouchedAndEntriesArePlaceholders) {
  WriteWholeFile(path, Bytes{1, 2, 3});
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 2, {}), 0);
  writer.AppendRecordEntry(0);
  std::fflush(nullptr);
  EXPECT_EQ(ReadWholeFile(path), (Bytes{1, 2, 3}));
  Bytes partial = ReadWholeFile(path + ".partial");
  ASSERT_EQ(partial.size(), 370u);
  const std::vector<std::uint8_t> placeholders = {0, 0, 0, 0, 0, 0, 0x1E, 0,
                                                  0, 0, 0, 0, 0, 0, 0x1E, 0};
  EXPECT_EQ(Slice(partial, 78, 16), placeholders);
}

TEST_F(PdbWriterTest, AnExistingFileIsReplacedNotAppended) {
  WriteWholeFile(path, Bytes(1000, 0xAA));
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 1, {}), 0);
  writer.AppendRecordEntry(0);
  writer.AppendRecordBytes(Bytes{7});
  ASSERT_TRUE(writer.Finish());
  Bytes file = ReadWholeFile(path);
  ASSERT_EQ(file.size(), 363u);
  EXPECT_EQ(file.back(), 7);
  EXPECT_TRUE(OnlyTargetInFolder());
}

// Created with fopen, then renamed into place: both steps must read a name
// beyond ASCII ("\x80", the euro sign of code page 1252) the same way.
TEST_F(PdbWriterTest, ANameBeyondAsciiIsSavedUnderThatName) {
  std::string euro = dir.File("Halvestone \x80.PDB");
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(euro, "Halvestone", 0, {}), 0);
  EXPECT_TRUE(writer.Finish());
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(ReadWholeFile(euro).size(), 354u);
}

TEST_F(PdbWriterTest, ASecondGenerationStartsTheCountersAgain) {
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 1, {}), 0);
  writer.AppendRecordEntry(0);
  ASSERT_TRUE(writer.Finish());
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 2, {}), 0);
  EXPECT_EQ(writer.record_index(), 0u);
  EXPECT_EQ(writer.unique_id_counter(), 0x1000u);
  EXPECT_EQ(writer.AppendRecordEntry(0), 0x1000u);
  EXPECT_EQ(writer.AppendRecordEntry(0), 0x1001u);
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(ReadWholeFile(path).size(), 370u);
}

TEST_F(PdbWriterTest, AnUncreatableFileIsReportedWithItsPath) {
  std::string missing = dir.File("no such folder/Halvestone.PDB");
  PdbWriter writer(messages);
  EXPECT_EQ(writer.WriteDatabaseHeader(missing, "Halvestone", 1, {}), 1);
  EXPECT_EQ(Shown(), Lines{"File error: Failed to open output file " + missing});
  EXPECT_TRUE(writer.failed());
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(PdbWriterTest, MoreThan65535RecordsAreRefusedBeforeAnythingIsWritten) {
  WriteWholeFile(path, Bytes{1, 2, 3});
  PdbWriter writer(messages);
  EXPECT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 65536, {}), 1);
  ASSERT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(messages.entries()[0].caption, "Too many records");
  EXPECT_NE(messages.entries()[0].text.find("65536"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(path), (Bytes{1, 2, 3}));
  EXPECT_TRUE(OnlyTargetInFolder());
  messages.Clear();
  EXPECT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 65535, {}), 0);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(PdbWriterTest, SixteenCategoriesAreRefused) {
  PdbWriter writer(messages);
  std::vector<std::string> sixteen(16, "0000ABCD - P");
  EXPECT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 1, sixteen), 1);
  EXPECT_EQ(messages.entries().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PdbWriterTest, EntriesBeyondTheAnnouncedCountAreRefusedAndNothingIsSaved) {
  WriteWholeFile(path, Bytes{1, 2, 3});
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 1, {}), 0);
  writer.AppendRecordEntry(0);
  writer.AppendRecordBytes(Bytes(10, 0x55));
  writer.AppendRecordEntry(0);  // would overwrite the category block
  writer.AppendRecordBytes(Bytes(10, 0x66));
  EXPECT_TRUE(writer.failed());
  EXPECT_FALSE(writer.Finish());
  ASSERT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(messages.entries()[0].caption, "File error");
  EXPECT_EQ(ReadWholeFile(path), (Bytes{1, 2, 3}));
  EXPECT_TRUE(OnlyTargetInFolder());
}

TEST_F(PdbWriterTest, FewerRecordsThanAnnouncedAreNotSaved) {
  WriteWholeFile(path, Bytes{1, 2, 3});
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 2, {}), 0);
  writer.AppendRecordEntry(0);
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(ReadWholeFile(path), (Bytes{1, 2, 3}));
  EXPECT_TRUE(OnlyTargetInFolder());
}

TEST_F(PdbWriterTest, AnAbandonedRunLeavesNoTemporaryFile) {
  WriteWholeFile(path, Bytes{4, 5});
  {
    PdbWriter writer(messages);
    ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 1, {}), 0);
    writer.AppendRecordEntry(0);
  }
  EXPECT_EQ(ReadWholeFile(path), (Bytes{4, 5}));
  EXPECT_TRUE(OnlyTargetInFolder());
  EXPECT_TRUE(Shown().empty());
}

#ifndef _WIN32
// A real write failure: the child process may write at most 64 KiB per file.
TEST_F(PdbWriterTest, AFullDiskShowsOneMessageAndKeepsThePreviousDatabase) {
  WriteWholeFile(path, Bytes{4, 5, 6});
  std::string log = dir.File("messages.txt");
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    common::RecordedMessages recorded;
    PdbWriter writer(recorded);
    bool started = writer.WriteDatabaseHeader(path, "Halvestone", 100, {}) == 0;
    for (int i = 0; i < 100; ++i) {
      writer.AppendRecordEntry(0);
      writer.AppendRecordBytes(Bytes(4096, 0x77));
    }
    bool finished = writer.Finish();
    std::string lines;
    for (const std::string& line : recorded.Lines()) lines += line + "\n";
    WriteWholeFile(log, Bytes(lines.begin(), lines.end()));
    _exit(started && !finished ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  Bytes shown = ReadWholeFile(log);
  EXPECT_EQ(std::string(shown.begin(), shown.end()), "File error: Unable to write to file\n");
  EXPECT_EQ(ReadWholeFile(path), (Bytes{4, 5, 6}));
  EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
}
#endif

}  // namespace
}  // namespace velmora
