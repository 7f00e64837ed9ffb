// An in-memory disk for the editor's tests: sparse sectors with recognisable
// default contents, and failures injected per sector range.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "sectoredit/disk/sector_device.h"
#include "sectoredit/editor/editor.h"

namespace sectoredit::testing {

// Byte i of an unwritten sector: the sector number (little-endian) in bytes
// 0..3, then (sector + i) & 0xFF.
uint8_t DefaultByte(uint64_t sector, uint32_t i);
SectorArray DefaultSector(uint64_t sector);

class MemoryDisk : public SectorDevice {
 public:
  // `size` sectors exist (transfers past them fail); LastSector() reports `last`.
  MemoryDisk(uint64_t size, SectorNumber last) : size_(size), last_(last) {}

  uint32_t ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) override;
  uint32_t ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) override;
  uint32_t WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) override;
  SectorNumber LastSector() const override { return last_; }

  SectorArray Sector(uint64_t sector) const;
  void SetSector(uint64_t sector, const SectorArray& bytes) { written_[sector] = bytes; }
  void SetBytes(uint64_t sector, uint32_t offset, const std::vector<uint8_t>& bytes);

  // Transfers touching first..last fail: reads deliver nothing (and leave
  // 0xEE junk in the buffer), writes write nothing.
  // `direct_too` false fails only the reads that report their failures.
  void FailReads(uint64_t first, uint64_t last, bool direct_too = true) {
    (direct_too ? failing_reads_ : failing_reported_reads_).push_back({first, last});
  }
  void FailWrites(uint64_t first, uint64_t last) { failing_writes_.push_back({first, last}); }
  // Reads of a sector in first..last deliver only the sectors before it.
  void ShortReads(uint64_t first, uint64_t last) { short_reads_.push_back({first, last}); }

  struct Transfer {
    char kind;  // 'r' read, 'd' direct read, 'w' write
    SectorNumber first;
    uint32_t count;
    bool operator==(const Transfer&) const = default;
  };
  const std::vector<Transfer>& transfers() const { return transfers_; }
  void ClearTransfers() { transfers_.clear(); }

 private:
  struct Range {
    uint64_t first, last;
  };
  static bool Touches(const std::vector<Range>& ranges, uint64_t first, uint32_t count);
  uint32_t Read(char kind, SectorNumber first, uint32_t count, uint8_t* buffer);

  uint64_t size_;
  SectorNumber last_;
  std::map<uint64_t, SectorArray> written_;
  std::vector<Range> failing_reads_, failing_reported_reads_, failing_writes_, short_reads_;
  std::vector<Transfer> transfers_;
};

}  // namespace sectoredit::testing
