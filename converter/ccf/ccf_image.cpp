#include "converter/ccf/ccf_image.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include "common/files.h"
#include "converter/ccf/buffer_advice.h"

namespace velmora {

namespace {

inline constexpr char kListEntrySeparator[] = " - ";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads to the end; false on a read error (a directory, a vanished device).
// Room for the size the file had when opened is reserved, not resized: the
// buffer is written once, by the copies, instead of being cleared first.
// Whatever follows (a file that grew meanwhile) is appended the same way.
bool ReadWholeFile(std::FILE* file, uint64_t sizeWhenOpened, std::vector<uint8_t>& bytes) {
  if (sizeWhenOpened <= bytes.max_size()) {
    bytes.reserve(static_cast<size_t>(sizeWhenOpened));
    AdviseLargeBuffer(bytes.data(), bytes.capacity());
  }
  uint8_t chunk[65536];
  for (;;) {
    size_t got = std::fread(chunk, 1, sizeof chunk, file);
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) return std::ferror(file) == 0;
  }
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

CcfImage::CcfImage(std::vector<uint8_t> bytes, std::string name)
    : bytes_(std::move(bytes)), name_(std::move(name)) {}

std::optional<CcfImage> CcfImage::Open(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  uint64_t size = common::FileLength(file.get()).value_or(0);
  std::vector<uint8_t> bytes;
  try {
    if (!ReadWholeFile(file.get(), size, bytes)) return std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // larger than memory: reported as a file that cannot be opened
  } catch (const std::length_error&) {
    return std::nullopt;  // larger than a buffer can be (a 32-bit process)
  }
  return CcfImage(std::move(bytes), path);
}

const uint8_t* CcfImage::BytesAt(uint64_t offset, size_t count) const {
  uint64_t size = bytes_.size();
  if (offset > size || count > size - offset) return nullptr;
  return bytes_.data() + offset;
}

bool CcfImage::TryRead(uint64_t offset, size_t count, uint8_t* out) const {
  const uint8_t* source = BytesAt(offset, count);
  if (source == nullptr) return false;
  if (count != 0) std::memcpy(out, source, count);
  return true;
}

bool CcfImage::BytesEqual(uint64_t offset, std::string_view expected) const {
  uint64_t size = bytes_.size();
  if (offset > size || expected.size() > size - offset) return false;
  return std::memcmp(bytes_.data() + offset, expected.data(), expected.size()) == 0;
}

const uint8_t* CcfReader::Bytes(uint64_t offset, size_t count) {
  const uint8_t* bytes = image_.BytesAt(offset, count);
  if (bytes != nullptr) return bytes;
  if (!failed_) messages_.Show(kReadPastEndText, kFileErrorCaption);
  failed_ = true;
  return nullptr;
}

bool CcfReader::Read(uint64_t offset, size_t count, uint8_t* out) {
  const uint8_t* source = Bytes(offset, count);
  if (source == nullptr) return false;
  if (count != 0) std::memcpy(out, source, count);
  return true;
}

uint32_t CcfReader::ReadU32(uint64_t offset) {
  const uint8_t* b = Bytes(offset, 4);
  if (b == nullptr) return 0;
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

uint16_t CcfReader::ReadU16(uint64_t offset) {
  const uint8_t* b = Bytes(offset, 2);
  return b == nullptr ? 0 : static_cast<uint16_t>(b[0] << 8 | b[1]);
}

uint8_t CcfReader::ReadU8(uint64_t offset) {
  const uint8_t* b = Bytes(offset, 1);
  return b == nullptr ? 0 : b[0];
}

std::string CcfReader::ReadCcfString(uint64_t referenceOffset, size_t capacity, bool maskTopBit) {
  uint32_t reference = ReadU32(referenceOffset);
  if (maskTopBit) reference &= 0x7FFFFFFF;
  if (reference == 0 || capacity == 0) return {};
  size_t length = ReadU8(reference);
  if (length + 1 > capacity) length = capacity - 1;
  std::string text(length, '\0');
  if (!Read(uint64_t{reference} + 1, length, reinterpret_cast<uint8_t*>(text.data()))) return {};
  text.resize(std::strlen(text.c_str()));
  return text;
}

uint32_t HexToOffset(std::string_view text) {
  if (text.size() < 8) return 0;
  uint32_t value = 0;
  for (char c : text.substr(0, 8)) {
    int digit = HexDigitValue(c);
    if (digit < 0) return 0;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

std::string OffsetToHex(uint32_t offset) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, offset >>= 4) text[i] = kDigits[offset & 0xF];
  return text;
}

std::string ListEntry(uint32_t offset, std::string_view name) {
  std::string entry = OffsetToHex(offset);
  entry += kListEntrySeparator;
  entry += name;
  return entry;
}

std::string_view ListEntryName(std::string_view entry) {
  constexpr size_t kNameStart = 8 + sizeof kListEntrySeparator - 1;
  return entry.size() >= kNameStart ? entry.substr(kNameStart) : std::string_view();
}

bool IsChainHeading(std::string_view entry) { return !entry.empty() && entry[0] == '-'; }

}  // namespace velmora
