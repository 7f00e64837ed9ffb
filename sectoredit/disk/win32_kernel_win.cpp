#include <windows.h>
#include <winioctl.h>

#include "sectoredit/disk/win32_kernel.h"

namespace sectoredit {

namespace {

HANDLE ToHandle(KernelHandle handle) { return reinterpret_cast<HANDLE>(handle); }

class Win32Kernel : public DiskKernel {
 public:
  KernelHandle Open(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                    uint32_t flags) override {
    return reinterpret_cast<KernelHandle>(
        CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
  }

  uint32_t Seek(KernelHandle handle, uint32_t low, uint32_t* high) override {
    LONG high_part = static_cast<LONG>(*high);
    const DWORD result =
        SetFilePointer(ToHandle(handle), static_cast<LONG>(low), &high_part, FILE_BEGIN);
    *high = static_cast<uint32_t>(high_part);
    return result;
  }

  bool Read(KernelHandle handle, uint8_t* buffer, uint32_t size, uint32_t* done) override {
    DWORD moved = 0;
    const bool ok = ReadFile(ToHandle(handle), buffer, size, &moved, nullptr) != 0;
    *done = moved;
    return ok;
  }

  bool Write(KernelHandle handle, const uint8_t* buffer, uint32_t size, uint32_t* done) override {
    DWORD moved = 0;
    const bool ok = WriteFile(ToHandle(handle), buffer, size, &moved, nullptr) != 0;
    *done = moved;
    return ok;
  }

  bool IoControl(KernelHandle handle, uint32_t code, const uint8_t* in, uint32_t in_size,
                 uint8_t* out, uint32_t out_size, uint32_t* returned) override {
    DWORD bytes = 0;
    const bool ok = DeviceIoControl(ToHandle(handle), code, const_cast<uint8_t*>(in), in_size, out,
                                    out_size, &bytes, nullptr) != 0;
    *returned = bytes;
    return ok;
  }

  bool Version(KernelVersion* version) override {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
    if (!GetVersionExA(&info)) return false;
    version->platform_id = info.dwPlatformId;
    version->build_number = info.dwBuildNumber;
    return true;
  }

  void Close(KernelHandle handle) override { CloseHandle(ToHandle(handle)); }

  bool FileSize(KernelHandle handle, uint64_t* size) override {
    // GetFileSize with its high part, as Windows 95 and NT 4.0 have it. A low
    // part of INVALID_FILE_SIZE is a real size unless an error is set.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(ToHandle(handle), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    *size = (static_cast<uint64_t>(high) << 32) | low;
    return true;
  }

  // The VWIN32 device exists only on 32-bit Windows 95/98/Me, where every
  // address fits the 32-bit register fields.
  uint32_t AddressOf(void* memory, uint32_t) override {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(memory));
  }
};

}  // namespace

std::unique_ptr<DiskKernel> MakeWin32Kernel() { return std::make_unique<Win32Kernel>(); }

}  // namespace sectoredit
