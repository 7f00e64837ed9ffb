// A simulated kernel for the disk layer's tests: device paths backed by byte
// vectors, the VWIN32 device with drives behind it, injectable failures, and
// a record of every call.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sectoredit/disk/disk_kernel.h"
#include "sectoredit/disk/vwin32_blocks.h"

namespace sectoredit::testing {

inline const std::string kVwin32Path = "\\\\.\\vwin32";

struct FakeDisk {
  std::vector<uint8_t> data;
  bool open_fails = false;
  bool read_fails = false;
  bool write_fails = false;
  bool seek_fails = false;
  // Reads fail on buffers that are not sector-aligned, as unbuffered devices do.
  bool needs_aligned_buffers = false;
  // Lengths the size queries report; nullopt makes the query fail.
  std::optional<int64_t> partition_length;
  std::optional<int64_t> length_info;
  std::optional<uint64_t> file_size;
  // BytesPerSector of the geometry query; nullopt makes the query fail.
  std::optional<uint32_t> bytes_per_sector;
};

// Sector data and the BPB total-sector fields of a drive behind VWIN32.
struct FakeDrive {
  std::vector<uint8_t> data;
  uint16_t total_sectors16 = 0;
  uint32_t total_sectors32 = 0;
};

struct OpenCall {
  std::string path;
  uint32_t access, share, disposition, flags;
  bool operator==(const OpenCall&) const = default;
};

struct VwinCall {
  uint32_t code;
  DiocRegisters in;
  // The 10 bytes EBX points at, when it points at a disk packet.
  std::optional<std::array<uint8_t, kDiskIoPacketSize>> packet;
  // Byte 0 of the block EDX points at, for device-parameter calls.
  std::optional<uint8_t> param_block_byte0;
};

class FakeKernel : public DiskKernel {
 public:
  std::map<std::string, FakeDisk> disks;
  std::map<uint32_t, FakeDrive> drives;  // by drive number, 1 = A:
  KernelVersion version{2, 2600};
  bool version_fails = false;
  bool vwin32_available = true;
  // Called for every VWIN32 request; returning true makes it fail (carry set).
  std::function<bool(const VwinCall&)> vwin_fails;

  std::vector<OpenCall> opens;
  std::vector<KernelHandle> closes;
  std::vector<uint64_t> seeks;  // byte offsets
  std::vector<uint32_t> disk_ioctls;
  std::vector<VwinCall> vwin_calls;
  bool last_read_aligned = false;

  KernelHandle Open(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                    uint32_t flags) override;
  uint32_t Seek(KernelHandle handle, uint32_t low, uint32_t* high) override;
  bool Read(KernelHandle handle, uint8_t* buffer, uint32_t size, uint32_t* done) override;
  bool Write(KernelHandle handle, const uint8_t* buffer, uint32_t size, uint32_t* done) override;
  bool IoControl(KernelHandle handle, uint32_t code, const uint8_t* in, uint32_t in_size,
                 uint8_t* out, uint32_t out_size, uint32_t* returned) override;
  bool Version(KernelVersion* version) override;
  void Close(KernelHandle handle) override;
  bool FileSize(KernelHandle handle, uint64_t* size) override;
  uint32_t AddressOf(void* memory, uint32_t size) override;

  // The memory behind an address token, when it spans at least `size` bytes.
  uint8_t* Resolve(uint32_t address, uint32_t size) const;
  // Handles currently open (opened and not yet closed).
  size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct OpenFile {
    std::string path;
    uint64_t position = 0;
  };
  struct Region {
    uint8_t* memory;
    uint32_t size;
  };
  FakeDisk* DiskOf(KernelHandle handle);
  bool DiskIoControl(FakeDisk& disk, uint32_t code, uint8_t* out, uint32_t out_size,
                     uint32_t* returned);
  bool Vwin32Request(uint32_t code, DiocRegisters& registers);
  bool PacketTransfer(uint32_t drive, uint32_t packet_address, bool write);
  bool SectorTransfer(uint32_t drive, uint32_t first, uint32_t count, uint8_t* memory, bool write);
  bool FillDeviceParams(uint32_t drive, uint32_t block_address);

  std::map<KernelHandle, OpenFile> handles_;
  KernelHandle next_handle_ = 0x100;
  KernelHandle vwin_handle_ = kInvalidHandle;
  // Addresses handed out since the last VWIN32 request; a request consumes
  // them, so a stale address never resolves.
  std::map<uint32_t, Region> regions_;
  uint32_t next_region_ = 0;
};

}  // namespace sectoredit::testing
