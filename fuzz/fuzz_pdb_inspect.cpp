// libFuzzer target for the database inspector (`velmora-cli inspect`).
// 1. The input itself is decoded. A decoded database lists every announced
//    record, back to back from the end of the category block to the end of
//    the file, and prints as one line per record after the three header lines.
// 2. The input, read as categories and records, is written with the PdbWriter
//    and decoded again: the decode must give back every record with its
//    category, unique ID and bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_image.h"
#include "converter/output/pdb_inspect.h"
#include "converter/output/pdb_writer.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/generation_stage.h"

namespace {

using velmora::InspectedDatabase;

void CheckDecode(std::span<const uint8_t> data) {
  const velmora::InspectResult result = velmora::InspectDatabase(data);
  FUZZ_CHECK(result.database.has_value() != !result.error.empty());
  if (!result.database) return;
  const InspectedDatabase& db = *result.database;
  FUZZ_CHECK(db.records.size() == db.record_count);
  FUZZ_CHECK(!db.labels.empty() && db.labels.size() <= velmora::kMaxCategories + 1);
  uint64_t next = uint64_t{db.app_info_offset} + velmora::kCategoryAppInfoSize;
  for (const velmora::InspectedRecord& record : db.records) {
    FUZZ_CHECK(record.offset >= next && uint64_t{record.offset} + record.size <= data.size());
    next = uint64_t{record.offset} + record.size;
  }
  for (size_t i = 0; i + 1 < db.records.size(); ++i) {
    FUZZ_CHECK(db.records[i].offset + db.records[i].size == db.records[i + 1].offset);
  }
  if (!db.records.empty()) FUZZ_CHECK(next == data.size());
  std::ostringstream printed;
  velmora::PrintDatabase(db, printed);
  const std::string text = printed.str();
  FUZZ_CHECK(std::count(text.begin(), text.end(), '\n') == 3 + std::ptrdiff_t(db.records.size()));
  for (char c : text) FUZZ_CHECK(c == '\n' || (c >= 0x20 && c < 0x7F));
}

// The input as a database to write: byte 0 gives the number of categories
// (0 to 15), then each record is a category byte (taken modulo the categories
// + 1), a length byte and that many bytes (fewer at the end of the input).
struct Plan {
  std::vector<std::string> categories;
  std::vector<uint8_t> recordCategories;
  std::vector<std::vector<uint8_t>> records;
};

Plan PlanOf(std::span<const uint8_t> data) {
  Plan plan;
  if (data.empty()) return plan;
  const size_t categories = data[0] % (velmora::kMaxCategories + 1);
  for (size_t k = 1; k <= categories; ++k) {
    plan.categories.push_back(velmora::OffsetToHex(static_cast<uint32_t>(k)) + " - Category " +
                              std::to_string(k));
  }
  for (size_t at = 1; at + 1 < data.size();) {
    plan.recordCategories.push_back(static_cast<uint8_t>(data[at] % (categories + 1)));
    const size_t length = std::min<size_t>(data[at + 1], data.size() - at - 2);
    plan.records.emplace_back(data.begin() + at + 2, data.begin() + at + 2 + length);
    at += 2 + length;
  }
  return plan;
}

velmora::Bytes WriteDatabase(const Plan& plan) {
  common::RecordedMessages messages;
  velmora::PdbWriter writer(messages);
  const std::string path = fuzz_stage::ScratchFile("Inspect.PDB");
  FUZZ_CHECK(writer.WriteDatabaseHeader(path, "Halvestone", plan.records.size(), plan.categories) ==
             0);
  for (size_t i = 0; i < plan.records.size(); ++i) {
    writer.AppendRecordEntry(plan.recordCategories[i]);
    writer.AppendRecordBytes(plan.records[i]);
  }
  FUZZ_CHECK(writer.Finish() && messages.entries().empty());
  return fuzz_stage::ReadWholeFile(path);
}

void CheckRoundTrip(std::span<const uint8_t> data) {
  const Plan plan = PlanOf(data);
  const velmora::Bytes file = WriteDatabase(plan);
  const velmora::InspectResult result = velmora::InspectDatabase(file);
  FUZZ_CHECK(result.database && result.database->records.size() == plan.records.size());
  const InspectedDatabase& db = *result.database;
  FUZZ_CHECK(db.name == "Halvestone" && db.labels.size() == plan.categories.size() + 1);
  for (size_t i = 0; i < plan.records.size(); ++i) {
    const velmora::InspectedRecord& record = db.records[i];
    FUZZ_CHECK(record.category == plan.recordCategories[i]);
    FUZZ_CHECK(record.unique_id == velmora::kFirstUniqueId + i);
    FUZZ_CHECK(record.size == plan.records[i].size());
    FUZZ_CHECK(
        std::equal(plan.records[i].begin(), plan.records[i].end(), file.begin() + record.offset));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  CheckDecode(input);
  CheckRoundTrip(input);
  return 0;
}
