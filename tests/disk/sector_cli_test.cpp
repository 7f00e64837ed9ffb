// sector-cli's table, argument handling and the info command on an image.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "disk_test_support.h"
#include "sectoredit/cli/sector_cli_commands.h"

namespace sectoredit::cli {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun RunCli(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunSectorCli(args, out, err);
  return {code, out.str(), err.str()};
}

class SectorCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    image =
        (fs::temp_directory_path() /
         ("sector_cli_test_" +
          std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".img"))
            .string();
    const std::vector<uint8_t> bytes = sectoredit::testing::PatternSectors(1001);
    std::ofstream(image, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  void TearDown() override { fs::remove(image); }
  std::string image;
};

TEST_F(SectorCliTest, InfoPrintsTheLastSectorOfAnImage) {
  const CliRun run = RunCli({"info", image});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.out, "LastSector 999\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(SectorCliTest, InfoOfAMissingDiskReportsTheDataError) {
  const CliRun run = RunCli({"info", image + ".missing"});
  EXPECT_EQ(run.code, kExitFailure);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Data Error: Error accessing contents of sector\n");
}

TEST_F(SectorCliTest, EmptyImageCannotBeOpenedAsADisk) {
  std::ofstream(image, std::ios::binary | std::ios::trunc).close();
  EXPECT_EQ(RunCli({"info", image}).code, kExitFailure);
}

TEST(SectorCli, BadArgumentsExitWithTwo) {
  for (const Args& args : {Args{}, Args{"info"}, Args{"info", "a", "b"}, Args{"list", "x"},
                           Args{"frobnicate"}, Args{"--yes"}}) {
    EXPECT_EQ(RunCli(args).code, kExitUsage) << (args.empty() ? "" : args[0]);
  }
  EXPECT_NE(RunCli({"frobnicate"}).err.find("frobnicate"), std::string::npos);
}

TEST(SectorCli, HelpListsEveryCommandWithItsUsage) {
  const CliRun run = RunCli({"--help"});
  EXPECT_EQ(run.code, kExitOk);
  for (const Command& command : Commands()) {
    EXPECT_NE(run.out.find(std::string("  ") + command.name), std::string::npos) << command.name;
  }
  EXPECT_NE(run.out.find("info DISK"), std::string::npos);
}

TEST(SectorCli, TableNamesAreUniqueAndFindable) {
  for (const Command& command : Commands()) {
    EXPECT_EQ(FindCommand(command.name), &command);
  }
  EXPECT_EQ(FindCommand("nothing"), nullptr);
}

}  // namespace
}  // namespace sectoredit::cli
