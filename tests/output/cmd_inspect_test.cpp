#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/cli/cli_commands.h"
#include "converter/output/pdb_writer.h"
#include "tests/output/output_test_util.h"

namespace velmora {
namespace {

using testing::ScratchDir;
using testing::WriteWholeFile;

class InspectCommandTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  common::RecordedMessages messages;
  std::ostringstream out;

  int Run(const std::vector<std::string>& args) {
    cli::CommandContext context{args, out, messages};
    return cli::RunInspect(context);
  }
};

TEST_F(InspectCommandTest, PrintsTheDecodedDatabase) {
  std::string path = dir.File("Halvestone.PDB");
  PdbWriter writer(messages);
  ASSERT_EQ(writer.WriteDatabaseHeader(path, "Halvestone", 1, {"0000ABCD - TV"}), 0);
  writer.AppendRecordEntry(1);
  Bytes hard_key(24, 0);
  const std::uint8_t no_ir[] = {0x01, 0x00, 0x01, 0x38, 0x81};
  hard_key.insert(hard_key.end(), std::begin(no_ir), std::end(no_ir));
  writer.AppendRecordBytes(hard_key);
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(Run({path}), cli::kExitOk);
  EXPECT_EQ(out.str(),
            "Database \"Halvestone\": type Data, creator qLux, 1 records\n"
            "Header: attributes 0x0000, version 0, dates 0x3FE8D700 0x3FE8D700 0x3FE8D700, "
            "application info at 86\n"
            "Categories: 0 \"Unfiled\" 1 \"TV\"\n"
            "#0 offset 362 size 29 category 1 uid 0x001000 hardkey: at 0,0 size 0x0 label \"\" "
            "glyph 0x00 no IR\n");
}

TEST_F(InspectCommandTest, BadInputFailsWithoutOutput) {
  EXPECT_EQ(Run({}), cli::kExitUsage);
  EXPECT_EQ(Run({dir.File("missing.PDB")}), cli::kExitRejected);
  std::string garbage = dir.File("garbage.PDB");
  WriteWholeFile(garbage, Bytes(200, 0x41));
  EXPECT_EQ(Run({garbage}), cli::kExitRejected);
  std::string empty = dir.File("empty.PDB");
  WriteWholeFile(empty, {});
  EXPECT_EQ(Run({empty}), cli::kExitRejected);
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace velmora
