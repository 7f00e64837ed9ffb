#include "converter/output/pdb_writer.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/files.h"

namespace velmora {
namespace {

constexpr char kFileErrorCaption[] = "File error";
constexpr char kUnableToWriteText[] = "Unable to write to file";
constexpr char kFailedToOpenText[] = "Failed to open output file ";
constexpr char kTooManyRecordsCaption[] = "Too many records";
// Large writes keep a database of many bitmaps cheap to build; beyond 64 KiB
// the system calls saved no longer show, while the buffer costs every run.
constexpr std::size_t kWriteBufferSize = 1 << 16;
constexpr std::size_t kLabelPrefixLength = 11;  // "XXXXXXXX - "

std::string TooManyRecordsText(std::uint32_t record_count) {
  return "The database would hold " + std::to_string(record_count) +
         " records, but a Palm database holds at most " + std::to_string(kMaxRecordCount) +
         ". Choose fewer panels or buttons.";
}

std::string TooManyCategoriesText(std::size_t count) {
  return "A database holds at most " + std::to_string(kMaxCategories) +
         " categories besides \"Unfiled\"; " + std::to_string(count) + " were chosen.";
}

// An empty run writes nothing (its data pointer may be null).
bool WriteAll(std::FILE* file, std::span<const std::uint8_t> bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

std::string DatabaseNameFromPath(std::string_view path) {
  std::size_t slash = path.find_last_of("/\\:");
  std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::size_t dot = file.find_last_of('.');
  return std::string(dot == std::string_view::npos ? file : file.substr(0, dot));
}

std::string CategoryLabel(std::string_view entry) {
  if (entry.size() <= kLabelPrefixLength) return std::string(entry);
  return std::string(entry.substr(kLabelPrefixLength, kCategoryLabelSize - 1));
}

Bytes BuildPdbHeader(std::string_view name, std::uint16_t record_count) {
  Bytes out;
  out.reserve(kPdbHeaderSize);
  PutFixedText(out, name, 32);
  PutU16(out, 0);  // attributes
  PutU16(out, 0);  // version
  PutU32(out, kPdbDate);
  PutU32(out, kPdbDate);
  PutU32(out, kPdbDate);
  PutU32(out, 0);  // modification number
  PutU32(out, AppInfoOffset(record_count));
  PutU32(out, 0);  // no sort info
  PutText(out, "Data");
  PutText(out, "qLux");
  PutU32(out, 0);  // unique-ID seed
  PutU32(out, 0);  // no next record list
  PutU16(out, record_count);
  return out;
}

Bytes BuildCategoryAppInfo(const std::vector<std::string>& category_entries) {
  std::size_t used = std::min(category_entries.size(), kMaxCategories);
  Bytes out;
  out.reserve(kCategoryAppInfoSize);
  PutU16(out, 0);  // renamed categories
  PutFixedText(out, "Unfiled", kCategoryLabelSize);
  for (std::size_t k = 0; k < used; ++k) {
    PutFixedText(out, CategoryLabel(category_entries[k]), kCategoryLabelSize);
  }
  PutZeros(out, kCategoryLabelSize * (kMaxCategories - used));
  for (std::size_t k = 0; k <= kMaxCategories; ++k)
    PutU8(out, k <= used ? static_cast<std::uint8_t>(k) : 0);
  PutU8(out, static_cast<std::uint8_t>(used));  // last unique ID
  PutU8(out, 0);
  return out;
}

PdbWriter::~PdbWriter() { Abandon(); }

int PdbWriter::WriteDatabaseHeader(const std::string& path, std::string_view database_name,
                                   std::uint32_t record_count,
                                   const std::vector<std::string>& category_entries) {
  Abandon();
  record_index_ = 0;
  unique_id_counter_ = kFirstUniqueId;
  record_total_ = record_count;
  size_ = 0;
  failed_ = false;
  if (record_count > kMaxRecordCount) {
    failed_ = true;
    messages_.Show(TooManyRecordsText(record_count), kTooManyRecordsCaption);
    return 1;
  }
  if (category_entries.size() > kMaxCategories) {
    failed_ = true;
    messages_.Show(TooManyCategoriesText(category_entries.size()), kFileErrorCaption);
    return 1;
  }
  target_path_ = path;
  temp_path_ = path + ".partial";
  file_ = std::fopen(temp_path_.c_str(), "wb");
  if (file_ == nullptr) {
    failed_ = true;
    messages_.Show(kFailedToOpenText + path, kFileErrorCaption);
    return 1;
  }
  // Not cleared: stdio fills it, and a small database touches only its start.
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kWriteBufferSize);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kWriteBufferSize);
  record_list_.clear();
  for (std::uint32_t i = 0; i < record_count; ++i) {
    record_list_.insert(record_list_.end(), kPlaceholderEntry.begin(), kPlaceholderEntry.end());
  }
  Bytes start = BuildPdbHeader(database_name, static_cast<std::uint16_t>(record_count));
  start.insert(start.end(), record_list_.begin(), record_list_.end());
  Bytes app_info = BuildCategoryAppInfo(category_entries);
  start.insert(start.end(), app_info.begin(), app_info.end());
  return WriteRaw(start) ? 0 : 1;
}

std::uint32_t PdbWriter::AppendRecordEntry(std::uint8_t category) {
  std::uint32_t unique_id = unique_id_counter_;
  if (failed_ || file_ == nullptr) return unique_id;
  if (record_index_ >= record_total_) {
    Fail(
        "More records were written than the database header announces; the database was not "
        "saved.");
    return unique_id;
  }
  if (size_ > 0xFFFFFFFFu) {
    Fail("The database is larger than 4 GB; it cannot be stored as a Palm database.");
    return unique_id;
  }
  std::size_t at = std::size_t{record_index_} * kRecordEntrySize;
  SetU32At(record_list_, at, static_cast<std::uint32_t>(size_));
  record_list_[at + 4] = static_cast<std::uint8_t>(category & 0x0F);
  record_list_[at + 5] = static_cast<std::uint8_t>(unique_id >> 16);
  record_list_[at + 6] = static_cast<std::uint8_t>(unique_id >> 8);
  record_list_[at + 7] = static_cast<std::uint8_t>(unique_id);
  ++record_index_;
  ++unique_id_counter_;
  return unique_id;
}

void PdbWriter::AppendRecordBytes(std::span<const std::uint8_t> bytes) {
  if (failed_ || file_ == nullptr) return;
  WriteRaw(bytes);
}

bool PdbWriter::Finish() {
  if (failed_ || file_ == nullptr) {
    Abandon();
    return false;
  }
  if (record_index_ != record_total_) {
    Fail(
        "Fewer records were written than the database header announces; the database was not "
        "saved.");
    return false;
  }
  bool written = std::fseek(file_, static_cast<long>(kPdbHeaderSize), SEEK_SET) == 0 &&
                 WriteAll(file_, record_list_) && std::fflush(file_) == 0;
  bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed || !common::RenameReplacing(temp_path_, target_path_)) {
    Fail(kUnableToWriteText);
    return false;
  }
  temp_path_.clear();
  return true;
}

void PdbWriter::Fail(std::string_view text) {
  if (!failed_) messages_.Show(text, kFileErrorCaption);
  failed_ = true;
  Abandon();
}

bool PdbWriter::WriteRaw(std::span<const std::uint8_t> bytes) {
  if (!WriteAll(file_, bytes)) {
    Fail(kUnableToWriteText);
    return false;
  }
  size_ += bytes.size();
  return true;
}

void PdbWriter::Abandon() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_path_.empty()) std::remove(temp_path_.c_str());
  temp_path_.clear();
}

}  // namespace velmora
