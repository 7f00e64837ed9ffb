// The loaded CCF file and its bounds-checked big-endian readers.
//
// The whole file is held in memory. Every value is read through a CcfReader,
// which belongs to one user-visible operation (a load, a preview redraw, a
// generation run): the first read of that operation that does not lie wholly
// within the file shows "Read past end of file" (caption "File error"), later
// failures of the same operation stay silent, and every failed read yields 0
// (an empty text for strings) so that chains and counts simply end. Create a
// fresh CcfReader at the start of each operation and pass it down.
//
// All offset arithmetic is 64-bit: callers add field offsets to a CCF offset
// as uint64_t (`uint64_t{o} + 18`) so that a reference near 4 GiB cannot wrap
// back into the file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"

namespace velmora {

inline constexpr char kReadPastEndText[] = "Read past end of file";
inline constexpr char kFileErrorCaption[] = "File error";

class CcfImage {
 public:
  CcfImage() = default;
  CcfImage(std::vector<uint8_t> bytes, std::string name);

  // Reads the whole file; nullopt when it cannot be opened or read. The caller
  // reports "Failed to open input file " + name.
  static std::optional<CcfImage> Open(const std::string& path);

  // True when [offset, offset + count) lies wholly within the file; copies the
  // bytes to `out` then. Never reports anything.
  bool TryRead(uint64_t offset, size_t count, uint8_t* out) const;
  // The bytes [offset, offset + count) in place when they lie wholly within
  // the file; nullptr otherwise. Never reports anything.
  const uint8_t* BytesAt(uint64_t offset, size_t count) const;
  // True when the bytes at `offset` are exactly `expected` (silent check used
  // for the magic bytes; missing bytes fail the comparison).
  bool BytesEqual(uint64_t offset, std::string_view expected) const;

  uint64_t size() const { return bytes_.size(); }
  std::span<const uint8_t> bytes() const { return bytes_; }
  const std::string& name() const { return name_; }

 private:
  std::vector<uint8_t> bytes_;
  std::string name_;
};

// The readers of one operation over one image. Cheap to create; not shared
// between operations.
class CcfReader {
 public:
  CcfReader(const CcfImage& image, common::Messages& messages)
      : image_(image), messages_(messages) {}
  CcfReader(const CcfReader&) = delete;
  CcfReader& operator=(const CcfReader&) = delete;

  uint32_t ReadU32(uint64_t offset);
  uint16_t ReadU16(uint64_t offset);
  uint8_t ReadU8(uint64_t offset);

  // Reads the u32 reference at `referenceOffset` (bit 31 cleared when
  // `maskTopBit`), then the CcfString it points to: at most capacity - 1
  // characters. A reference of 0 (or a capacity of 0) gives the empty text; so
  // does a string that runs past the end of the file (after the one report).
  // The text ends at its first zero character, as the fixed-size character
  // buffers of the list boxes and records would end it.
  std::string ReadCcfString(uint64_t referenceOffset, size_t capacity, bool maskTopBit);

  // Sticky: some read of this operation failed.
  bool failed() const { return failed_; }
  const CcfImage& image() const { return image_; }
  common::Messages& messages() const { return messages_; }

 private:
  // Copies `count` bytes or, when they are not wholly in the file, reports
  // (once) and returns false.
  bool Read(uint64_t offset, size_t count, uint8_t* out);
  // The bytes in place, or nullptr after the report (the numeric readers use
  // them without copying: they run for every field of every item).
  const uint8_t* Bytes(uint64_t offset, size_t count);

  const CcfImage& image_;
  common::Messages& messages_;
  bool failed_ = false;
};

// The first 8 characters of a list entry as an upper-case hexadecimal offset
// ("0000ABCD - Name" -> 0xABCD). 0 when they are not 8 hexadecimal digits
// (a chain heading, an empty entry).
uint32_t HexToOffset(std::string_view text);

// The 8-digit upper-case hexadecimal form that list entries carry.
std::string OffsetToHex(uint32_t offset);

// A panel or button entry of the window's lists: "OOOOOOOO - name", the
// object's offset in OffsetToHex form, " - ", and its name.
std::string ListEntry(uint32_t offset, std::string_view name);
// The name part of such an entry: everything after "OOOOOOOO - ".
std::string_view ListEntryName(std::string_view entry);
// A chain heading ("-- Devices --") rather than an entry: its first character is "-".
bool IsChainHeading(std::string_view entry);

}  // namespace velmora
