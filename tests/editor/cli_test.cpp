// Runs the built sector-cli on an image file, as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "project_paths.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

class SectorCli : public ::testing::Test {
 protected:
  SectorCli() {
    dir = fs::path(::testing::TempDir()) /
          (std::string("sector-cli-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    image = dir / "disk.img";
    // 1000 sectors; byte i of sector s is (s * 3 + i) & 0xFF.
    std::string bytes(1000 * 512, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i / 512) * 3 + i % 512);
    WriteText(image, bytes);
  }
  ~SectorCli() override { fs::remove_all(dir); }

  CliRun Cli(const std::string& arguments) {
    const std::string command = std::string(PROJECT_BINARY_DIR) + "/sectoredit/cli/sector-cli " +
                                arguments + " >" + (dir / "out").string() + " 2>" +
                                (dir / "err").string() + " </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(dir / "out"),
            ReadText(dir / "err")};
  }
  std::string Image() const { return image.string(); }
  std::string Sectors(uint64_t first, uint64_t count) const {
    return ReadText(image).substr(first * 512, count * 512);
  }
  void Patch(uint64_t offset, const std::string& bytes) {
    std::fstream file(image, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(offset));
    file << bytes;
  }

  fs::path dir, image;
};

TEST_F(SectorCli, DumpPrintsThePageHeadingBlankLineAndThirtyTwoRows) {
  Patch(2 * 512 + 16, "Hello\n");
  const CliRun run = Cli("dump " + Image() + " 2");
  ASSERT_EQ(run.code, 0) << run.err;
  std::istringstream lines(run.out);
  std::vector<std::string> page;
  for (std::string line; std::getline(lines, line);) page.push_back(line);
  ASSERT_EQ(page.size(), 34u);
  EXPECT_EQ(page[0], "Sector Number 2");
  EXPECT_EQ(page[1], "");
  EXPECT_EQ(page[2], "000: 06 07 08 09 0A 0B 0C 0D - 0E 0F 10 11 12 13 14 15 ................");
  EXPECT_EQ(page[3], "010: 48 65 6C 6C 6F 0A 1C 1D - 1E 1F 20 21 22 23 24 25 Hello..... !\"#$%");
  for (const std::string& row : std::vector(page.begin() + 2, page.end()))
    EXPECT_EQ(row.size(), 71u);
  EXPECT_EQ(page[33].substr(0, 4), "1F0:");
}

TEST_F(SectorCli, SearchPrintsTheHitSectorOrNotFound) {
  Patch(300 * 512 + 511, "\x4D\x5A");
  CliRun run = Cli("search " + Image() + " --from 10 --hex 4D5A");
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "300\n");
  EXPECT_EQ(run.err, "") << "no progress when stderr is not a terminal";
  run = Cli("search " + Image() + " --from 301 --hex '4d 5a'");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out, "not found\n");
  Patch(42 * 512 + 7, "needle");
  run = Cli("search " + Image() + " --from 42 --ascii needle");
  EXPECT_EQ(run.out, "42\n");
}

TEST_F(SectorCli, BadArgumentsExitWithTwo) {
  EXPECT_EQ(Cli("search " + Image() + " --from 0 --hex 4D5").code, 2) << "odd digits";
  EXPECT_EQ(Cli("search " + Image() + " --from 0 --hex " + std::string(52, 'A')).code, 2);
  EXPECT_EQ(Cli("search " + Image() + " --from 0 --hex 4G").code, 2);
  EXPECT_EQ(Cli("search " + Image() + " --hex 4D").code, 2) << "no --from";
  EXPECT_EQ(Cli("search " + Image() + " --from 0 --hex 4D --ascii M").code, 2);
  EXPECT_EQ(Cli("export " + Image() + " --from 0 --count x -o f").code, 2);
  EXPECT_EQ(Cli("copy " + Image() + " --from 0 --to 5").code, 2);
  EXPECT_EQ(Cli("import " + Image() + " --from 0 --bogus f").code, 2);
  const CliRun run = Cli("dump " + Image() + " -5");
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("usage: sector-cli dump DISK SECTOR"), std::string::npos);
}

TEST_F(SectorCli, ExportWritesTheRunAndImportWritesItBack) {
  const fs::path file = dir / "run.bin";
  CliRun run = Cli("export " + Image() + " --from 10 --count 300 -o " + file.string());
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadText(file), Sectors(10, 300));
  run = Cli("export " + Image() + " --from 989 --count 128 -o " + file.string());
  EXPECT_EQ(fs::file_size(file), 10u * 512) << "export stops before the last sector";
  std::string bytes(600, 'q');
  WriteText(file, bytes);
  run = Cli("import " + Image() + " --from 20 " + file.string());
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Sectors(20, 2), bytes + std::string(424, '\0'));
  EXPECT_EQ(Sectors(22, 1)[0], static_cast<char>(22 * 3));
  run = Cli("import " + Image() + " --from 30 --count 1 " + file.string());
  EXPECT_EQ(Sectors(30, 2).substr(510, 4), std::string("qq") + char(31 * 3) + char(31 * 3 + 1));
}

TEST_F(SectorCli, ImportOfAMissingFileIsReported) {
  const CliRun run = Cli("import " + Image() + " --from 0 " + (dir / "none.bin").string());
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "Import Error: Error Importing from file.  Click OK to continue\n");
}

TEST_F(SectorCli, CopyMovesSectorsAndReportsCompletion) {
  const std::string source = Sectors(100, 200);
  CliRun run = Cli("copy " + Image() + " --from 100 --to 150 --count 200");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, "Copy Complete: Copying of sectors has been completed succesfully\n");
  EXPECT_EQ(Sectors(150, 200), source);
  run = Cli("copy " + Image() + " --from 100 --to 0 --count 0");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "Copy Complete: Copying of sectors has been completed succesfully\n");
  run = Cli("copy " + Image() + " --from 990 --to 0 --count 20");
  EXPECT_EQ(run.code, 1) << "sectors past the end of the image cannot be read";
  EXPECT_EQ(run.err, "Data Error: Error accessing contents of sector\n");
}

}  // namespace
