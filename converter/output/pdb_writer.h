// The Palm database container of the Tessaly output: a 78-byte header, one
// 8-byte record-list entry per record, the 276-byte category block, then the
// records back to back.
//
// How a generation drives the writer (the whole seam):
//   PdbWriter writer(messages);
//   if (writer.WriteDatabaseHeader(path, DatabaseNameFromPath(path), total, categories) != 0)
//     return;                                  // its message has been shown
//   for each record:
//     writer.AppendRecordEntry(category);      // fills the next entry, advances both counters
//     writer.AppendRecordBytes(record_bytes);  // any number of calls per record
//   if (!writer.Finish()) return;              // message shown; the target is untouched
//
// The database is built in a temporary file beside the target and renamed over
// the target only by a successful Finish(), so a failed or abandoned run never
// destroys an existing database and never leaves a half-written one (the
// destructor removes an unfinished temporary file). Every write is checked; the
// first failure shows "Unable to write to file" (caption "File error") once and
// makes the writer fail from then on: later calls do nothing and Finish()
// returns false. The bytes of a completed database are exactly those of the
// one-pass layout: entries point at the file length when each record was begun.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "converter/output/byte_buffer.h"

namespace velmora {

inline constexpr std::size_t kPdbHeaderSize = 78;
inline constexpr std::size_t kRecordEntrySize = 8;
inline constexpr std::size_t kCategoryAppInfoSize = 276;
inline constexpr std::size_t kCategoryLabelSize = 16;
inline constexpr std::size_t kMaxCategories = 15;
// The fixed creation, modification and backup date of every database.
inline constexpr std::uint32_t kPdbDate = 0x3FE8D700;
inline constexpr std::uint32_t kFirstUniqueId = 0x1000;
// The record count of the header is 16 bits wide.
inline constexpr std::uint32_t kMaxRecordCount = 0xFFFF;
// A record-list entry before its record is begun: offset 0, attributes 0, unique ID 0x001E00.
inline constexpr std::array<std::uint8_t, kRecordEntrySize> kPlaceholderEntry = {0, 0, 0,    0,
                                                                                 0, 0, 0x1E, 0};

// The file name without folder and extension: ".../Halvestone.PDB" gives "Halvestone".
std::string DatabaseNameFromPath(std::string_view path);

// The label of a category entry ("XXXXXXXX - name"): the name, at most 15 characters;
// an entry shorter than 12 characters (a panel without a name) is used whole.
std::string CategoryLabel(std::string_view entry);

// The 78-byte header; a name of 32 characters or more is cut to 31 plus the terminator.
Bytes BuildPdbHeader(std::string_view name, std::uint16_t record_count);

// The 276-byte category block: "Unfiled" and one label per entry (at most 15 are used).
Bytes BuildCategoryAppInfo(const std::vector<std::string>& category_entries);

// Offset of the category block, right after the record list.
constexpr std::uint32_t AppInfoOffset(std::uint32_t record_count) {
  return static_cast<std::uint32_t>(kPdbHeaderSize + kRecordEntrySize * record_count);
}

// Offset of the first record's byte.
constexpr std::uint32_t FirstRecordOffset(std::uint32_t record_count) {
  return AppInfoOffset(record_count) + static_cast<std::uint32_t>(kCategoryAppInfoSize);
}

class PdbWriter {
 public:
  explicit PdbWriter(common::Messages& messages) : messages_(messages) {}
  ~PdbWriter();
  PdbWriter(const PdbWriter&) = delete;
  PdbWriter& operator=(const PdbWriter&) = delete;

  // Resets the counters (record index 0, unique-ID counter 0x1000) and starts the
  // database for `path` with `record_count` placeholder entries. Returns 0 on
  // success, 1 on failure: "Failed to open output file " + path when the file
  // cannot be created; a clear refusal when more than 65535 records or more than
  // 15 categories are asked for (nothing is created then).
  int WriteDatabaseHeader(const std::string& path, std::string_view database_name,
                          std::uint32_t record_count,
                          const std::vector<std::string>& category_entries);

  // Begins the record at the current record index: its entry gets the current
  // database length, the category (0 to 15) and the low 24 bits of the unique-ID
  // counter. Then both counters advance by one. Returns the unique ID given.
  // Refuses (the writer fails) once all announced entries have been begun.
  std::uint32_t AppendRecordEntry(std::uint8_t category);

  // Appends bytes of the record begun last.
  void AppendRecordBytes(std::span<const std::uint8_t> bytes);

  // Completes the database: writes the record list, closes the file and renames
  // it over the target. False (message shown) on any failure, or when fewer
  // records were begun than announced; the target is then left as it was.
  bool Finish();

  bool failed() const { return failed_; }
  std::uint32_t record_index() const { return record_index_; }
  std::uint32_t unique_id_counter() const { return unique_id_counter_; }
  std::uint32_t record_total() const { return record_total_; }
  // The database's length so far: where the next record would begin.
  std::uint64_t size() const { return size_; }

 private:
  void Fail(std::string_view text);
  bool WriteRaw(std::span<const std::uint8_t> bytes);
  void Abandon();

  common::Messages& messages_;
  // The stream's buffer (the C library ignores a size given without one);
  // file_ is always closed before the buffer is freed.
  std::unique_ptr<char[]> buffer_;
  std::FILE* file_ = nullptr;
  std::string target_path_;
  std::string temp_path_;
  Bytes record_list_;
  std::uint32_t record_index_ = 0;
  std::uint32_t unique_id_counter_ = kFirstUniqueId;
  std::uint32_t record_total_ = 0;
  std::uint64_t size_ = 0;
  bool failed_ = false;
};

}  // namespace velmora
