#include "fake_kernel.h"

#include <algorithm>
#include <cstring>

namespace sectoredit::testing {

namespace {

constexpr uint32_t kSector = 512;
constexpr uint32_t kRegionStride = 0x100;

void PutLe64(uint8_t* bytes, int64_t value) {
  PutLe32(bytes, static_cast<uint32_t>(value));
  PutLe32(bytes + 4, static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32));
}

}  // namespace

KernelHandle FakeKernel::Open(const std::string& path, uint32_t access, uint32_t share,
                              uint32_t disposition, uint32_t flags) {
  opens.push_back({path, access, share, disposition, flags});
  if (path == kVwin32Path) {
    if (!vwin32_available) return kInvalidHandle;
    vwin_handle_ = next_handle_++;
    handles_[vwin_handle_] = {path, 0};
    return vwin_handle_;
  }
  auto disk = disks.find(path);
  if (disk == disks.end() || disk->second.open_fails) return kInvalidHandle;
  const KernelHandle handle = next_handle_++;
  handles_[handle] = {path, 0};
  return handle;
}

FakeDisk* FakeKernel::DiskOf(KernelHandle handle) {
  auto file = handles_.find(handle);
  if (file == handles_.end()) return nullptr;
  auto disk = disks.find(file->second.path);
  return disk == disks.end() ? nullptr : &disk->second;
}

uint32_t FakeKernel::Seek(KernelHandle handle, uint32_t low, uint32_t* high) {
  FakeDisk* disk = DiskOf(handle);
  if (disk == nullptr || disk->seek_fails) return win32::kSeekFailed;
  const uint64_t offset = (uint64_t{*high} << 32) | low;
  seeks.push_back(offset);
  handles_[handle].position = offset;
  return low;
}

bool FakeKernel::Read(KernelHandle handle, uint8_t* buffer, uint32_t size, uint32_t* done) {
  *done = 0;
  FakeDisk* disk = DiskOf(handle);
  last_read_aligned = reinterpret_cast<uintptr_t>(buffer) % kSector == 0;
  if (disk == nullptr || disk->read_fails) return false;
  if (disk->needs_aligned_buffers && !last_read_aligned) return false;
  uint64_t& position = handles_[handle].position;
  if (position < disk->data.size()) {
    *done = static_cast<uint32_t>(std::min<uint64_t>(size, disk->data.size() - position));
  }
  std::memcpy(buffer, disk->data.data() + position, *done);
  position += *done;
  return true;
}

bool FakeKernel::Write(KernelHandle handle, const uint8_t* buffer, uint32_t size, uint32_t* done) {
  *done = 0;
  FakeDisk* disk = DiskOf(handle);
  if (disk == nullptr || disk->write_fails) return false;
  uint64_t& position = handles_[handle].position;
  if (position < disk->data.size()) {
    *done = static_cast<uint32_t>(std::min<uint64_t>(size, disk->data.size() - position));
  }
  std::memcpy(disk->data.data() + position, buffer, *done);
  position += *done;
  return true;
}

bool FakeKernel::IoControl(KernelHandle handle, uint32_t code, const uint8_t* in, uint32_t in_size,
                           uint8_t* out, uint32_t out_size, uint32_t* returned) {
  *returned = 0;
  if (handle != vwin_handle_ || !handles_.contains(handle)) {
    FakeDisk* disk = DiskOf(handle);
    return disk != nullptr && DiskIoControl(*disk, code, out, out_size, returned);
  }
  if (in == nullptr || out == nullptr || in_size != kDiocRegistersSize ||
      out_size != kDiocRegistersSize) {
    return false;
  }
  DiocRegisters registers = ParseRegisters(in);
  const bool ok = Vwin32Request(code, registers);
  regions_.clear();
  registers.flags =
      ok ? (registers.flags & ~vwin32::kCarryFlag) : (registers.flags | vwin32::kCarryFlag);
  const auto bytes = SerializeRegisters(registers);
  std::memcpy(out, bytes.data(), bytes.size());
  *returned = kDiocRegistersSize;
  return true;
}

bool FakeKernel::DiskIoControl(FakeDisk& disk, uint32_t code, uint8_t* out, uint32_t out_size,
                               uint32_t* returned) {
  disk_ioctls.push_back(code);
  if (code == win32::kIoctlDiskGetPartitionInfo && disk.partition_length && out_size >= 32) {
    std::memset(out, 0, 32);
    PutLe64(out + 8, *disk.partition_length);
    *returned = 32;
    return true;
  }
  if (code == win32::kIoctlDiskGetDriveGeometry && disk.bytes_per_sector && out_size >= 24) {
    std::memset(out, 0, 24);
    PutLe32(out + 20, *disk.bytes_per_sector);
    *returned = 24;
    return true;
  }
  if (code == win32::kIoctlDiskGetLengthInfo && disk.length_info && out_size >= 8) {
    PutLe64(out, *disk.length_info);
    *returned = 8;
    return true;
  }
  return false;
}

bool FakeKernel::Vwin32Request(uint32_t code, DiocRegisters& registers) {
  VwinCall call{code, registers, std::nullopt, std::nullopt};
  if (const uint8_t* packet = Resolve(registers.ebx, kDiskIoPacketSize);
      packet != nullptr && (registers.ecx == 0xFFFF || registers.ecx == 0xFFFFFFFF)) {
    call.packet.emplace();
    std::memcpy(call.packet->data(), packet, kDiskIoPacketSize);
  }
  if (code == vwin32::kDosIoctl && registers.ecx == 0x0860) {
    if (const uint8_t* block = Resolve(registers.edx, 1)) call.param_block_byte0 = block[0];
  }
  vwin_calls.push_back(call);
  if (vwin_fails && vwin_fails(call)) return false;
  switch (code) {
    case vwin32::kDosIoctl:
      if (registers.eax != 0x440D) return false;
      if (registers.ecx == 0x0860) return FillDeviceParams(registers.ebx, registers.edx);
      return drives.contains(registers.ebx & 0xFF);  // lock and unlock
    case vwin32::kDosInt25:
      if (registers.ecx == 1) {  // old form: one sector straight into the buffer
        return SectorTransfer(registers.eax + 1, registers.edx, 1, Resolve(registers.ebx, kSector),
                              false);
      }
      return registers.ecx == 0xFFFF && PacketTransfer(registers.eax + 1, registers.ebx, false);
    case vwin32::kDosInt26:
      return registers.ecx == 0xFFFF && PacketTransfer(registers.eax + 1, registers.ebx, true);
    case vwin32::kDosDriveInfo:
      if (registers.eax != 0x7305 || registers.ecx != 0xFFFFFFFF) return false;
      if (registers.esi != 0 && registers.esi != 0x6001) return false;
      return PacketTransfer(registers.edx, registers.ebx, registers.esi == 0x6001);
    default:
      return false;
  }
}

bool FakeKernel::PacketTransfer(uint32_t drive, uint32_t packet_address, bool write) {
  const uint8_t* bytes = Resolve(packet_address, kDiskIoPacketSize);
  if (bytes == nullptr) return false;
  const DiskIoPacket packet = ParsePacket(bytes);
  return SectorTransfer(drive, packet.first_sector, packet.count,
                        Resolve(packet.buffer, packet.count * kSector), write);
}

bool FakeKernel::SectorTransfer(uint32_t drive, uint32_t first, uint32_t count, uint8_t* memory,
                                bool write) {
  auto found = drives.find(drive);
  if (found == drives.end() || memory == nullptr) return false;
  std::vector<uint8_t>& data = found->second.data;
  const uint64_t offset = uint64_t{first} * kSector;
  const uint64_t size = uint64_t{count} * kSector;
  if (offset + size > data.size()) return false;
  if (write) {
    std::memcpy(data.data() + offset, memory, size);
  } else {
    std::memcpy(memory, data.data() + offset, size);
  }
  return true;
}

bool FakeKernel::FillDeviceParams(uint32_t drive, uint32_t block_address) {
  auto found = drives.find(drive);
  uint8_t* block = Resolve(block_address, 32);
  if (found == drives.end() || block == nullptr || block[0] != 1) return false;
  PutLe16(block + kParamTotalSectors16, found->second.total_sectors16);
  PutLe32(block + kParamTotalSectors32, found->second.total_sectors32);
  return true;
}

bool FakeKernel::Version(KernelVersion* result) {
  if (version_fails) return false;
  *result = version;
  return true;
}

void FakeKernel::Close(KernelHandle handle) {
  closes.push_back(handle);
  handles_.erase(handle);
  if (handle == vwin_handle_) vwin_handle_ = kInvalidHandle;
}

bool FakeKernel::FileSize(KernelHandle handle, uint64_t* size) {
  FakeDisk* disk = DiskOf(handle);
  if (disk == nullptr || !disk->file_size) return false;
  *size = *disk->file_size;
  return true;
}

// Tokens are spaced apart so a token never falls inside another region.
uint32_t FakeKernel::AddressOf(void* memory, uint32_t size) {
  const uint32_t address = ++next_region_ * kRegionStride;
  regions_[address] = {static_cast<uint8_t*>(memory), size};
  return address;
}

uint8_t* FakeKernel::Resolve(uint32_t address, uint32_t size) const {
  auto region = regions_.find(address);
  if (region == regions_.end() || region->second.size < size) return nullptr;
  return region->second.memory;
}

}  // namespace sectoredit::testing
