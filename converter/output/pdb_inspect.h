// Decoding of a Tessaly database for people and tests: the header, the
// category labels and one summary per record. Input is untrusted: every offset
// and length is checked against the data, and a file that is not a well-formed
// database gives an error text instead of a decode.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace velmora {

enum class RecordKind { kDatabaseInfo, kBitmap, kStyle, kControl, kHardKey, kUnknown };

const char* RecordKindName(RecordKind kind);

struct InspectedRecord {
  std::uint32_t index = 0;
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
  std::uint8_t category = 0;  // the attribute byte
  std::uint32_t unique_id = 0;
  RecordKind kind = RecordKind::kUnknown;
  std::string summary;  // the record's fields, one line
};

struct InspectedDatabase {
  std::string name;
  std::string type;
  std::string creator;
  std::uint16_t attributes = 0;
  std::uint16_t version = 0;
  std::uint32_t creation_date = 0;
  std::uint32_t modification_date = 0;
  std::uint32_t backup_date = 0;
  std::uint32_t app_info_offset = 0;
  std::uint16_t record_count = 0;
  std::vector<std::string> labels;  // "Unfiled" first, one per used category
  std::vector<InspectedRecord> records;
};

struct InspectResult {
  std::optional<InspectedDatabase> database;
  std::string error;  // why the data is not a Tessaly database
};

InspectResult InspectDatabase(std::span<const std::uint8_t> data);

// The text that `velmora-cli inspect` prints.
void PrintDatabase(const InspectedDatabase& database, std::ostream& out);

}  // namespace velmora
