#include "converter/output/pdb_inspect.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

#include "converter/output/byte_buffer.h"
#include "converter/output/palm_bitmap.h"
#include "converter/output/pdb_writer.h"

namespace velmora {
namespace {

using Data = std::span<const std::uint8_t>;

constexpr std::array<std::uint8_t, 8> kRecordHeaderStart = {0x00, 0x50, 0x00, 0x06,
                                                            0x00, 0x00, 0x00, 0x00};
constexpr std::array<std::uint8_t, 8> kDatabaseInfoBytes = {0x00, 0x00, 0x02, 0x00,
                                                            0x04, 0x00, 0x00, 0x02};
constexpr std::size_t kRecordHeaderSize = 25;
constexpr std::size_t kDatabaseInfoSize = 81;
constexpr std::size_t kBitmapNoPartSize = 112;
constexpr std::size_t kBitmapSizeField = 52;
constexpr std::size_t kStyleFixedSize = 94;
constexpr std::size_t kControlFixedSize = 24;
constexpr std::size_t kNoIrControlSize = 29;
constexpr std::uint32_t kNoIrButton = 80001;
constexpr std::uint32_t kNoIrFrame = 80000;
constexpr std::uint8_t kKindDatabaseInfo = 10;
constexpr std::uint8_t kKindBitmap = 6;
constexpr std::uint8_t kKindStyle = 7;

// A zero-terminated text field, non-printable bytes written as \xHH.
std::string FieldText(Data data, std::size_t at, std::size_t width) {
  std::string text;
  for (std::size_t i = at; i < at + width && i < data.size() && data[i] != 0; ++i) {
    std::uint8_t c = data[i];
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      text += static_cast<char>(c);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      text += escaped;
    }
  }
  return text;
}

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

bool StartsWith(Data data, std::span<const std::uint8_t> prefix) {
  return data.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data.begin());
}

bool HasRecordHeader(Data record) {
  return record.size() >= kRecordHeaderSize && StartsWith(record, kRecordHeaderStart);
}

std::string DatabaseInfoSummary(Data record) {
  bool exact = record.size() == kDatabaseInfoSize &&
               StartsWith(record.subspan(kRecordHeaderSize), kDatabaseInfoBytes);
  return exact ? "database info" : "database info (unexpected layout)";
}

std::string BitmapSummary(Data record) {
  std::ostringstream out;
  out << "bitmap \"" << FieldText(record, 8, 16) << "\"";
  if (record.size() == kBitmapNoPartSize) {
    out << " without bitmap part";
    return out.str();
  }
  constexpr std::size_t header = kPalmBitmapOffsetInRecord;
  if (record.size() < header + 16) {
    out << " (truncated)";
    return out.str();
  }
  std::uint32_t bitmap_size = GetU32(record, kBitmapSizeField);
  out << " " << GetU16(record, header) << "x" << GetU16(record, header + 2) << " depth "
      << int{record[header + 8]} << " rowBytes " << GetU16(record, header + 4) << " size "
      << bitmap_size;
  if (std::uint64_t{header} + bitmap_size + 60 != record.size()) out << " (size mismatch)";
  return out.str();
}

std::string StyleSummary(Data record) {
  if (record.size() < kStyleFixedSize) return "style (truncated)";
  std::uint16_t text_length = GetU16(record, 92);
  std::ostringstream out;
  out << "style of " << Hex(GetU32(record, 25), 6) << " font \"" << FieldText(record, 31, 16)
      << "\" bitmap " << Hex(GetU16(record, 47), 4) << " \"" << FieldText(record, 49, 16)
      << "\" pressed " << Hex(GetU16(record, 83), 4) << " colour " << Hex(GetU32(record, 87), 8)
      << " style " << int{record[91]} << " text \"" << FieldText(record, 94, text_length) << "\"";
  if (kStyleFixedSize + std::size_t{text_length} != record.size()) out << " (size mismatch)";
  return out.str();
}

std::string IrSummary(Data record) {
  Data ir = record.subspan(kControlFixedSize);
  if (ir.size() == 5 && ir[0] == 1 && GetU32(ir, 1) == kNoIrButton) return "no IR";
  if (ir.size() == 5 && ir[0] == 1 && GetU32(ir, 1) == kNoIrFrame) return "no IR (frame)";
  if (ir.size() < 6) return "IR (truncated)";
  std::uint32_t rate = GetU32(ir, 1);
  std::ostringstream out;
  if ((rate & 0x80000000u) != 0) {
    if (ir.size() < 7) return "IR RC5 (truncated)";
    std::uint16_t first = GetU16(ir, 5);
    out << "IR RC5 type " << int{ir[0]} << " rate " << (rate & 0x7FFFFFFF) << " variants " << first;
    if (7 + std::size_t{first} <= ir.size())
      out << "+" << ir.size() - 7 - first;
    else
      out << " (truncated)";
    out << " bytes";
  } else {
    out << "IR learned type " << int{ir[0]} << " rate " << rate << " stream " << ir.size() - 5
        << " bytes";
  }
  out << ", block " << ir.size() << " bytes";
  return out.str();
}

std::string ControlSummary(Data record) {
  std::ostringstream out;
  out << "at " << static_cast<std::int16_t>(GetU16(record, 0)) << ","
      << static_cast<std::int16_t>(GetU16(record, 2)) << " size "
      << static_cast<std::int16_t>(GetU16(record, 4)) << "x"
      << static_cast<std::int16_t>(GetU16(record, 6)) << " label \"" << FieldText(record, 8, 15)
      << "\" glyph " << Hex(record[23], 2) << " " << IrSummary(record);
  return out.str();
}

void DescribeRecord(Data record, InspectedRecord& out) {
  if (HasRecordHeader(record)) {
    switch (record[24]) {
      case kKindDatabaseInfo:
        out.kind = RecordKind::kDatabaseInfo;
        out.summary = DatabaseInfoSummary(record);
        return;
      case kKindBitmap:
        out.kind = RecordKind::kBitmap;
        out.summary = BitmapSummary(record);
        return;
      case kKindStyle:
        out.kind = RecordKind::kStyle;
        out.summary = StyleSummary(record);
        return;
    }
  }
  if (record.size() >= kNoIrControlSize) {
    out.kind = RecordKind::kControl;
    out.summary = ControlSummary(record);
    return;
  }
  out.kind = RecordKind::kUnknown;
  out.summary = std::to_string(record.size()) + " bytes";
}

// A control record is a button or frame when the style record after it names
// it; hard keys have no style record.
void MarkHardKeys(Data data, std::vector<InspectedRecord>& records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].kind != RecordKind::kControl) continue;
    bool styled = i + 1 < records.size() && records[i + 1].kind == RecordKind::kStyle &&
                  records[i + 1].size >= kStyleFixedSize &&
                  GetU32(data, records[i + 1].offset + 25) == records[i].unique_id;
    if (!styled) records[i].kind = RecordKind::kHardKey;
  }
}

std::string ReadHeader(Data data, InspectedDatabase& db) {
  if (data.size() < kPdbHeaderSize) {
    return "the file is " + std::to_string(data.size()) +
           " bytes long, shorter than a database header";
  }
  db.name = FieldText(data, 0, 32);
  db.attributes = GetU16(data, 32);
  db.version = GetU16(data, 34);
  db.creation_date = GetU32(data, 36);
  db.modification_date = GetU32(data, 40);
  db.backup_date = GetU32(data, 44);
  db.app_info_offset = GetU32(data, 52);
  db.type = FieldText(data, 60, 4);
  db.creator = FieldText(data, 64, 4);
  db.record_count = GetU16(data, 76);
  if (db.type != "Data" || db.creator != "qLux") {
    return "not a Tessaly database (type \"" + db.type + "\", creator \"" + db.creator + "\")";
  }
  if (AppInfoOffset(db.record_count) > data.size()) {
    return "the record list of " + std::to_string(db.record_count) +
           " entries runs past the end of the file";
  }
  return {};
}

std::string ReadLabels(Data data, InspectedDatabase& db) {
  std::uint64_t at = db.app_info_offset;
  if (at < AppInfoOffset(db.record_count) || at + kCategoryAppInfoSize > data.size()) {
    return "the category block at " + std::to_string(at) + " does not lie within the file";
  }
  std::uint8_t last = std::min<std::uint8_t>(data[at + 274], kMaxCategories);
  for (std::size_t k = 0; k <= last; ++k) {
    db.labels.push_back(FieldText(data, at + 2 + kCategoryLabelSize * k, kCategoryLabelSize));
  }
  return {};
}

std::string ReadRecords(Data data, InspectedDatabase& db) {
  std::uint64_t records_start = std::uint64_t{db.app_info_offset} + kCategoryAppInfoSize;
  for (std::uint32_t i = 0; i < db.record_count; ++i) {
    std::size_t entry = kPdbHeaderSize + kRecordEntrySize * i;
    InspectedRecord record;
    record.index = i;
    record.offset = GetU32(data, entry);
    record.category = data[entry + 4];
    record.unique_id = GetU24(data, entry + 5);
    std::uint64_t end =
        i + 1 < db.record_count ? GetU32(data, entry + kRecordEntrySize) : data.size();
    std::string where =
        "record " + std::to_string(i) + " at offset " + std::to_string(record.offset);
    if (record.offset < records_start) return where + " lies before the first record's place";
    if (end < record.offset)
      return where + " lies after the next record's offset " + std::to_string(end);
    if (end > data.size()) {
      return where + " runs past the end of the file (" + std::to_string(data.size()) + " bytes)";
    }
    record.size = static_cast<std::uint32_t>(end - record.offset);
    DescribeRecord(data.subspan(record.offset, record.size), record);
    db.records.push_back(std::move(record));
  }
  MarkHardKeys(data, db.records);
  return {};
}

}  // namespace

const char* RecordKindName(RecordKind kind) {
  switch (kind) {
    case RecordKind::kDatabaseInfo:
      return "info";
    case RecordKind::kBitmap:
      return "bitmap";
    case RecordKind::kStyle:
      return "style";
    case RecordKind::kControl:
      return "control";
    case RecordKind::kHardKey:
      return "hardkey";
    case RecordKind::kUnknown:
      break;
  }
  return "unknown";
}

InspectResult InspectDatabase(std::span<const std::uint8_t> data) {
  InspectedDatabase db;
  std::string error = ReadHeader(data, db);
  if (error.empty()) error = ReadLabels(data, db);
  if (error.empty()) error = ReadRecords(data, db);
  if (!error.empty()) return {std::nullopt, error};
  return {std::move(db), {}};
}

void PrintDatabase(const InspectedDatabase& db, std::ostream& out) {
  out << "Database \"" << db.name << "\": type " << db.type << ", creator " << db.creator << ", "
      << db.record_count << " records\n";
  out << "Header: attributes " << Hex(db.attributes, 4) << ", version " << db.version << ", dates "
      << Hex(db.creation_date, 8) << " " << Hex(db.modification_date, 8) << " "
      << Hex(db.backup_date, 8) << ", application info at " << db.app_info_offset << "\n";
  out << "Categories:";
  for (std::size_t k = 0; k < db.labels.size(); ++k)
    out << " " << k << " \"" << db.labels[k] << "\"";
  out << "\n";
  for (const InspectedRecord& r : db.records) {
    out << "#" << r.index << " offset " << r.offset << " size " << r.size << " category "
        << int{r.category} << " uid " << Hex(r.unique_id, 6) << " " << RecordKindName(r.kind)
        << ": " << r.summary << "\n";
  }
}

}  // namespace velmora
