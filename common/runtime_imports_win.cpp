// Four functions that the static GCC and MinGW runtimes import, answered inside
// the program, because Windows 95/98/Me export the wide-character ones only as
// failing stubs and msvcrt.dll 6.0 has no _fstat64:
// - CreateSemaphoreW: the runtime's locks (static locals, exception frames);
// - GetModuleHandleW and LoadLibraryW: the C runtime's look-ups of msvcrt.dll;
// - _fstat64: file streams' count of the bytes left to read.
// Each program links this object directly, so its definitions of the import
// pointers come before the system's import libraries are searched.
#include <sys/stat.h>
#include <windows.h>

namespace {

// The runtime names only ASCII things (module names) or nothing (unnamed
// semaphores), which this narrowing carries over unchanged.
struct NarrowName {
  explicit NarrowName(LPCWSTR wide) : is_null(wide == nullptr) {
    int length = 0;
    for (; wide && wide[length] && length < MAX_PATH - 1; ++length) {
      text[length] = static_cast<char>(wide[length] < 0x80 ? wide[length] : '?');
    }
    text[length] = '\0';
  }
  LPCSTR get() const { return is_null ? nullptr : text; }
  bool is_null;
  char text[MAX_PATH];
};

HANDLE WINAPI NarrowCreateSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                    LPCWSTR name) {
  return CreateSemaphoreA(attributes, initial, maximum, NarrowName(name).get());
}

HMODULE WINAPI NarrowGetModuleHandle(LPCWSTR name) {
  return GetModuleHandleA(NarrowName(name).get());
}

HMODULE WINAPI NarrowLoadLibrary(LPCWSTR name) { return LoadLibraryA(NarrowName(name).get()); }

// msvcrt 6.0's _fstati64 gives the same fields with 32-bit times.
int __cdecl FstatThroughI64(int descriptor, struct _stat64* status) {
  struct _stati64 found;
  if (_fstati64(descriptor, &found) != 0) return -1;
  *status = {};
  status->st_dev = found.st_dev;
  status->st_ino = found.st_ino;
  status->st_mode = found.st_mode;
  status->st_nlink = found.st_nlink;
  status->st_uid = found.st_uid;
  status->st_gid = found.st_gid;
  status->st_rdev = found.st_rdev;
  status->st_size = found.st_size;
  status->st_atime = found.st_atime;
  status->st_mtime = found.st_mtime;
  status->st_ctime = found.st_ctime;
  return 0;
}

}  // namespace

// The import pointers the runtime calls through: __imp_NAME on x86-64,
// __imp__NAME@ARGUMENT_BYTES for 32-bit stdcall (and __imp__NAME for cdecl).
#ifdef _WIN64
#define IMPORT_POINTER(name, bytes) "__imp_" #name
#define CDECL_IMPORT_POINTER(name) "__imp_" #name
#else
#define IMPORT_POINTER(name, bytes) "__imp__" #name "@" #bytes
#define CDECL_IMPORT_POINTER(name) "__imp__" #name
#endif

extern "C" {
[[gnu::used]] void* import_create_semaphore_w __asm__(IMPORT_POINTER(CreateSemaphoreW, 16)) =
    reinterpret_cast<void*>(&NarrowCreateSemaphore);
[[gnu::used]] void* import_get_module_handle_w __asm__(IMPORT_POINTER(GetModuleHandleW, 4)) =
    reinterpret_cast<void*>(&NarrowGetModuleHandle);
[[gnu::used]] void* import_load_library_w __asm__(IMPORT_POINTER(LoadLibraryW, 4)) =
    reinterpret_cast<void*>(&NarrowLoadLibrary);
[[gnu::used]] void* import_fstat64 __asm__(CDECL_IMPORT_POINTER(_fstat64)) =
    reinterpret_cast<void*>(&FstatThroughI64);
}
