// The few kernel calls the disk layer makes, behind an interface so the
// layer's logic runs against the real Win32 kernel and against a fake that
// simulates disks and the VWIN32 device in tests.
#pragma once

#include <cstdint>
#include <string>

namespace sectoredit {

// A kernel handle; kInvalidHandle is the kernel's INVALID_HANDLE_VALUE (-1).
using KernelHandle = uintptr_t;
inline constexpr KernelHandle kInvalidHandle = ~KernelHandle{0};

// Values of the Win32 constants the layer passes through.
namespace win32 {
inline constexpr uint32_t kGenericReadWrite = 0xC0000000;
inline constexpr uint32_t kFileShareWrite = 2;
inline constexpr uint32_t kOpenExisting = 3;
inline constexpr uint32_t kFlagNoBuffering = 0x20000000;
inline constexpr uint32_t kFlagDeleteOnClose = 0x04000000;
inline constexpr uint32_t kPlatformWin9x = 1;
inline constexpr uint32_t kIoctlDiskGetPartitionInfo = 0x00074004;
inline constexpr uint32_t kIoctlDiskGetLengthInfo = 0x0007405C;
inline constexpr uint32_t kIoctlDiskGetDriveGeometry = 0x00070000;
inline constexpr uint32_t kSeekFailed = 0xFFFFFFFF;
}  // namespace win32

struct KernelVersion {
  uint32_t platform_id = 0;
  uint32_t build_number = 0;
};

class DiskKernel {
 public:
  virtual ~DiskKernel() = default;

  // CreateFileA with no security attributes and no template.
  virtual KernelHandle Open(const std::string& path, uint32_t access, uint32_t share,
                            uint32_t disposition, uint32_t flags) = 0;
  // SetFilePointer from the beginning: `high` is passed by address and updated;
  // returns the new low part, win32::kSeekFailed on failure.
  virtual uint32_t Seek(KernelHandle handle, uint32_t low, uint32_t* high) = 0;
  // ReadFile / WriteFile without an overlapped structure.
  virtual bool Read(KernelHandle handle, uint8_t* buffer, uint32_t size, uint32_t* done) = 0;
  virtual bool Write(KernelHandle handle, const uint8_t* buffer, uint32_t size, uint32_t* done) = 0;
  // DeviceIoControl without an overlapped structure.
  virtual bool IoControl(KernelHandle handle, uint32_t code, const uint8_t* in, uint32_t in_size,
                         uint8_t* out, uint32_t out_size, uint32_t* returned) = 0;
  // GetVersionExA; false when the call fails.
  virtual bool Version(KernelVersion* version) = 0;
  virtual void Close(KernelHandle handle) = 0;
  // GetFileSize with its high part; false when the size cannot be read.
  virtual bool FileSize(KernelHandle handle, uint64_t* size) = 0;
  // The 32-bit address by which the VWIN32 services reach `size` bytes at
  // `memory`: register blocks and disk packets hold addresses as 32 bits.
  virtual uint32_t AddressOf(void* memory, uint32_t size) = 0;
};

}  // namespace sectoredit
