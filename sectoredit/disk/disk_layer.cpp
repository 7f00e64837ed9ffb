#include "sectoredit/disk/disk_layer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "sectoredit/disk/aligned_buffer.h"
#include "sectoredit/disk/last_sector.h"

namespace sectoredit {

namespace {

constexpr uint32_t kIoctlFunction = 0x440D;
constexpr uint32_t kExtendedReadWrite = 0x7305;
constexpr uint32_t kGetDeviceParams = 0x0860;
constexpr uint32_t kLockExtended = 0x484A;
constexpr uint32_t kLockOld = 0x084A;
constexpr uint32_t kUnlockExtended = 0x486A;
constexpr uint32_t kUnlockOld = 0x086A;
constexpr uint32_t kLockLevel1 = 0x100;
constexpr uint32_t kWriteNormalData = 0x6001;
constexpr uint32_t kPacketForm = 0xFFFF;
constexpr uint32_t kExtendedPacketForm = 0xFFFFFFFF;
constexpr uint32_t kDriveCount = 26;
constexpr uint32_t kPhysicalDriveCount = 10;
constexpr size_t kLetterIndex = 8;  // "Logical %c:"
constexpr size_t kDigitIndex = 9;   // "Physical %c"
constexpr size_t kBytesPerSectorOffset = 20;  // in DISK_GEOMETRY
constexpr size_t kDiskGeometrySize = 24;
// The highest sector whose byte offset SetFilePointer's signed 64-bit distance holds.
constexpr SectorNumber kLastSeekableSector = INT64_MAX / kSectorSize;

bool ValidCount(uint32_t count) { return count >= 1 && count <= kMaxTransferSectors; }

// The MS-DOS disk services address sectors with 32 bits: a run beyond them is
// refused rather than wrapped onto the start of the disk.
bool WithinDriveServices(SectorNumber first, uint32_t count) {
  return first <= UINT32_MAX && UINT32_MAX - first >= count - 1;
}

std::optional<char> CharAt(std::string_view text, size_t index, char low, char high) {
  if (index >= text.size() || text[index] < low || text[index] > high) return std::nullopt;
  return text[index];
}

std::string LogicalPath(char letter) { return std::string("\\\\.\\") + letter + ":"; }
std::string PhysicalPath(char digit) { return std::string("\\\\.\\PHYSICALDRIVE") + digit; }

int64_t GetLe64(const uint8_t* bytes) {
  return static_cast<int64_t>(GetLe32(bytes) | (static_cast<uint64_t>(GetLe32(bytes + 4)) << 32));
}

}  // namespace

DiskLayer::DiskLayer(DiskKernel& kernel, common::Messages& messages)
    : kernel_(kernel), messages_(messages) {}

DiskLayer::~DiskLayer() {
  CloseDisk();
  CloseDiskLayer();
}

void DiskLayer::DetectDiskAccessMode() {
  KernelVersion version;
  if (!kernel_.Version(&version) || version.platform_id != win32::kPlatformWin9x) {
    mode_ = DiskAccessMode::kDeviceFiles;
    return;
  }
  mode_ = DiskAccessMode::kWin9xServices;
  extended_ = (version.build_number & 0xFFFF) > 1000;
  vwin_handle_ = kernel_.Open("\\\\.\\vwin32", 0, 0, 0, win32::kFlagDeleteOnClose);
}

std::vector<std::string> DiskLayer::ListDisks() {
  std::vector<std::string> entries;
  if (mode_ == DiskAccessMode::kWin9xServices) {
    // Z: (26) is never tried.
    for (uint32_t drive = 1; drive < kDriveCount; ++drive) {
      if (ProbeDrive(drive)) entries.push_back("Logical " + std::string(1, char(64 + drive)) + ":");
    }
  } else if (mode_ == DiskAccessMode::kDeviceFiles) {
    for (uint32_t i = 0; i < kDriveCount; ++i) {
      const char letter = static_cast<char>('A' + i);
      if (ProbeDisk(LogicalPath(letter)))
        entries.push_back("Logical " + std::string(1, letter) + ":");
    }
    for (uint32_t i = 0; i < kPhysicalDriveCount; ++i) {
      const char digit = static_cast<char>('0' + i);
      if (ProbeDisk(PhysicalPath(digit))) entries.push_back("Physical " + std::string(1, digit));
    }
  }
  return entries;
}

bool DiskLayer::ProbeDisk(const std::string& path) {
  const KernelHandle handle =
      kernel_.Open(path, win32::kGenericReadWrite, win32::kFileShareWrite, win32::kOpenExisting, 0);
  if (handle == kInvalidHandle) return false;
  AlignedSectorBuffer scratch(1);
  uint32_t done = 0;
  const bool ok = kernel_.Read(handle, scratch.data(), kSectorSize, &done);
  kernel_.Close(handle);
  return ok && done == kSectorSize;
}

bool DiskLayer::ProbeDrive(uint32_t drive) {
  AlignedSectorBuffer scratch(1);
  // The extended probe reads sector 1; the old one sector 0 in register form.
  if (extended_) return TransferPacket(drive, 1, 1, scratch.data(), false);
  DiocRegisters registers;
  registers.eax = drive - 1;
  registers.ebx = kernel_.AddressOf(scratch.data(), kSectorSize);
  registers.ecx = 1;
  registers.edx = 0;
  registers.flags = vwin32::kCarryFlag;
  return CallVwin32(vwin32::kDosInt25, registers);
}

bool DiskLayer::OpenSelectedDisk(std::string_view entry) {
  const std::string_view text = entry.substr(0, std::min(entry.size(), kDiskEntryLimit));
  CloseDisk();
  if (mode_ == DiskAccessMode::kWin9xServices) {
    const auto letter = CharAt(text, kLetterIndex, 'A', 'Z');
    if (!letter) return false;
    disk_ref_ = static_cast<uintptr_t>(*letter - 64);
    last_sector_ = QueryLastSector();
    return true;
  }
  if (mode_ != DiskAccessMode::kDeviceFiles) return false;
  const bool logical = !text.empty() && text[0] == 'L';
  const auto drive =
      logical ? CharAt(text, kLetterIndex, 'A', 'Z') : CharAt(text, kDigitIndex, '0', '9');
  if (!drive) return false;
  return OpenDevicePath(logical ? LogicalPath(*drive) : PhysicalPath(*drive));
}

bool DiskLayer::OpenDevicePath(const std::string& path) {
  CloseDisk();
  open_refused_ = false;
  if (mode_ != DiskAccessMode::kDeviceFiles) return false;
  disk_ref_ = kernel_.Open(path, win32::kGenericReadWrite, win32::kFileShareWrite,
                           win32::kOpenExisting, win32::kFlagNoBuffering);
  if (disk_ref_ == kInvalidHandle) return false;
  if (const auto size = QuerySectorSize(); size && *size != kSectorSize) {
    CloseDisk();
    open_refused_ = true;
    messages_.ShowStyled("This disk has " + std::to_string(*size) +
                             "-byte sectors.\nOnly disks with 512-byte sectors can be edited.",
                         "Unsupported Disk", common::kOwnedByDialog);
    return false;
  }
  last_sector_ = QueryLastSector();
  return true;
}

// Plain files and volumes mapped from them fail the query: they are taken as
// 512-byte disks.
std::optional<uint32_t> DiskLayer::QuerySectorSize() {
  uint8_t geometry[kDiskGeometrySize] = {};
  uint32_t returned = 0;
  if (!kernel_.IoControl(disk_ref_, win32::kIoctlDiskGetDriveGeometry, nullptr, 0, geometry,
                         sizeof geometry, &returned) ||
      returned < kDiskGeometrySize) {
    return std::nullopt;
  }
  return GetLe32(geometry + kBytesPerSectorOffset);
}

SectorNumber DiskLayer::QueryLastSector() {
  if (mode_ == DiskAccessMode::kWin9xServices) return QueryDriveLastSector();
  if (mode_ == DiskAccessMode::kDeviceFiles) return QueryDeviceFileLastSector();
  return 0;
}

// Some disks fail the partition query (GPT disks, volumes mapped from plain
// files): the length query and then the file size stand in before giving 0.
SectorNumber DiskLayer::QueryDeviceFileLastSector() {
  if (disk_ref_ == kInvalidHandle) return 0;
  uint8_t info[32] = {};
  uint32_t returned = 0;
  if (kernel_.IoControl(disk_ref_, win32::kIoctlDiskGetPartitionInfo, nullptr, 0, info, sizeof info,
                        &returned) &&
      returned >= 16 && GetLe64(info + 8) > 0) {
    return LastSectorFromByteLength(GetLe64(info + 8));
  }
  uint8_t length[8] = {};
  returned = 0;
  if (kernel_.IoControl(disk_ref_, win32::kIoctlDiskGetLengthInfo, nullptr, 0, length,
                        sizeof length, &returned) &&
      returned >= 8 && GetLe64(length) > 0) {
    return LastSectorFromByteLength(GetLe64(length));
  }
  uint64_t size = 0;
  if (kernel_.FileSize(disk_ref_, &size)) return LastSectorFromSectorCount(size / kSectorSize);
  return 0;
}

SectorNumber DiskLayer::QueryDriveLastSector() {
  if (!IsDriveOpen()) return 0;
  DeviceParamBlock block = NewDeviceParamBlock();
  bool ok = false;
  for (int attempt = 0; attempt < 2 && !ok; ++attempt) {
    DiocRegisters registers;
    registers.eax = kIoctlFunction;
    registers.ebx = static_cast<uint32_t>(disk_ref_);
    registers.ecx = kGetDeviceParams;
    registers.edx = kernel_.AddressOf(block.data(), kDeviceParamBlockSize);
    registers.flags = vwin32::kCarryFlag;
    ok = CallVwin32(vwin32::kDosIoctl, registers);
  }
  if (!ok) return 0;
  const uint16_t sectors16 = TotalSectors16(block);
  if (sectors16 >= 2 && sectors16 <= 0xFFFC) return sectors16 - 1u;
  const uint32_t sectors32 = TotalSectors32(block);
  return sectors32 == 0 ? 0 : sectors32 - 1;
}

bool DiskLayer::SeekToSector(KernelHandle handle, SectorNumber sector) {
  if (sector > kLastSeekableSector) return false;
  const uint64_t offset = sector * kSectorSize;
  uint32_t high = static_cast<uint32_t>(offset >> 32);
  return kernel_.Seek(handle, static_cast<uint32_t>(offset), &high) != win32::kSeekFailed;
}

void DiskLayer::CloseDiskLayer() {
  if (mode_ != DiskAccessMode::kWin9xServices || vwin_handle_ == kInvalidHandle) return;
  kernel_.Close(vwin_handle_);
  vwin_handle_ = kInvalidHandle;
}

uint32_t DiskLayer::ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) {
  return ReadSectors(first, count, buffer, true);
}

uint32_t DiskLayer::ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) {
  return ReadSectors(first, count, buffer, false);
}

uint32_t DiskLayer::ReadSectors(SectorNumber first, uint32_t count, uint8_t* buffer, bool report_seek) {
  if (!ValidCount(count)) return 0;
  if (mode_ == DiskAccessMode::kWin9xServices) return ReadDrive(first, count, buffer);
  if (mode_ == DiskAccessMode::kDeviceFiles)
    return ReadDeviceFile(first, count, buffer, report_seek);
  return 0;
}

uint32_t DiskLayer::WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) {
  if (!ValidCount(count)) return 0;
  if (mode_ == DiskAccessMode::kWin9xServices) return WriteDrive(first, count, buffer);
  if (mode_ == DiskAccessMode::kDeviceFiles) return WriteDeviceFile(first, count, buffer);
  return 0;
}

// Device files are opened without buffering: an unaligned caller buffer goes
// through an aligned one.
uint32_t DiskLayer::ReadDeviceFile(SectorNumber first, uint32_t count, uint8_t* buffer,
                                   bool report_seek) {
  if (!SeekToSector(disk_ref_, first)) {
    if (report_seek) messages_.Show("Error reading disk", "Error");
    return 0;
  }
  const uint32_t size = count * kSectorSize;
  uint32_t done = 0;
  if (IsSectorAligned(buffer)) return kernel_.Read(disk_ref_, buffer, size, &done) ? done : 0;
  AlignedSectorBuffer aligned(count);
  if (!kernel_.Read(disk_ref_, aligned.data(), size, &done)) return 0;
  done = std::min(done, size);
  std::memcpy(buffer, aligned.data(), done);
  return done;
}

uint32_t DiskLayer::WriteDeviceFile(SectorNumber first, uint32_t count, const uint8_t* buffer) {
  if (!SeekToSector(disk_ref_, first)) return 0;
  const uint32_t size = count * kSectorSize;
  uint32_t done = 0;
  if (IsSectorAligned(buffer)) return kernel_.Write(disk_ref_, buffer, size, &done) ? done : 0;
  AlignedSectorBuffer aligned(count);
  std::memcpy(aligned.data(), buffer, size);
  return kernel_.Write(disk_ref_, aligned.data(), size, &done) ? done : 0;
}

uint32_t DiskLayer::ReadDrive(SectorNumber first, uint32_t count, uint8_t* buffer) {
  if (!IsDriveOpen() || !WithinDriveServices(first, count)) return 0;
  return TransferPacket(static_cast<uint32_t>(disk_ref_), static_cast<uint32_t>(first), count,
                        buffer, false)
             ? count * kSectorSize
             : 0;
}

// Lock, write, unlock; the lock's outcome does not stop the write, and the
// unlock runs whatever the write did.
uint32_t DiskLayer::WriteDrive(SectorNumber first, uint32_t count, const uint8_t* buffer) {
  if (!IsDriveOpen() || !WithinDriveServices(first, count)) return 0;
  const uint32_t drive = static_cast<uint32_t>(disk_ref_);
  DiocRegisters lock;
  lock.eax = kIoctlFunction;
  lock.ebx = drive + kLockLevel1;
  lock.edx = 1;
  lock.flags = vwin32::kCarryFlag;
  CallIoctlWithFallback(lock, kLockExtended, kLockOld);

  // The services only read the buffer of a write.
  const bool written = TransferPacket(drive, static_cast<uint32_t>(first), count,
                                     const_cast<uint8_t*>(buffer), true);

  DiocRegisters unlock;
  unlock.eax = kIoctlFunction;
  unlock.ebx = drive;
  unlock.flags = vwin32::kCarryFlag;
  CallIoctlWithFallback(unlock, kUnlockExtended, kUnlockOld);
  return written ? count * kSectorSize : 0;
}

// Int 21h 7305h with the extended services, else Int 25h/26h in packet form.
bool DiskLayer::TransferPacket(uint32_t drive, uint32_t first, uint32_t count, uint8_t* buffer,
                               bool write) {
  auto packet = SerializePacket(
      {first, static_cast<uint16_t>(count), kernel_.AddressOf(buffer, count * kSectorSize)});
  DiocRegisters registers;
  registers.ebx = kernel_.AddressOf(packet.data(), kDiskIoPacketSize);
  if (extended_) {
    registers.eax = kExtendedReadWrite;
    registers.ecx = kExtendedPacketForm;
    registers.edx = drive;
    registers.esi = write ? kWriteNormalData : 0;
    return CallVwin32(vwin32::kDosDriveInfo, registers);
  }
  registers.eax = drive - 1;
  registers.ecx = kPacketForm;
  return CallVwin32(write ? vwin32::kDosInt26 : vwin32::kDosInt25, registers);
}

bool DiskLayer::CallVwin32(uint32_t code, DiocRegisters& registers) {
  auto block = SerializeRegisters(registers);
  uint32_t returned = 0;
  if (!kernel_.IoControl(vwin_handle_, code, block.data(), kDiocRegistersSize, block.data(),
                         kDiocRegistersSize, &returned)) {
    return false;
  }
  registers = ParseRegisters(block.data());
  return (registers.flags & vwin32::kCarryFlag) == 0;
}

bool DiskLayer::CallIoctlWithFallback(DiocRegisters preset, uint32_t extended_ecx,
                                      uint32_t old_ecx) {
  if (extended_) {
    DiocRegisters registers = preset;
    registers.ecx = extended_ecx;
    if (CallVwin32(vwin32::kDosIoctl, registers)) return true;
  }
  preset.ecx = old_ecx;
  return CallVwin32(vwin32::kDosIoctl, preset);
}

bool DiskLayer::IsDriveOpen() const { return disk_ref_ >= 1 && disk_ref_ <= kDriveCount; }

void DiskLayer::CloseDisk() {
  if (mode_ == DiskAccessMode::kDeviceFiles && disk_ref_ != kInvalidHandle) {
    kernel_.Close(disk_ref_);
  }
  disk_ref_ = kInvalidHandle;
  last_sector_ = 0;
}

}  // namespace sectoredit
