// Five functions that the static GCC and MinGW runtimes import, answered inside
// the program, because Windows 95/98/Me export the wide-character ones only as
// failing stubs, msvcrt.dll 6.0 has no _fstat64, and no source at hand shows
// that every target exports IsDBCSLeadByteEx:
// - CreateSemaphoreW: the runtime's locks (static locals, exception frames);
// - GetModuleHandleW and LoadLibraryW: the C runtime's look-ups of msvcrt.dll;
// - _fstat64: file streams' count of the bytes left to read;
// - IsDBCSLeadByteEx: mbrtowc, mbrlen and mbsrtowcs (libmsvcrt.a's mbrtowc.o,
//   reached from libstdc++'s codecvt and libmingwex's printf), called through
//   the system's own function where it has one.
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

using LeadByteTest = BOOL(WINAPI*)(UINT, BYTE);
using CodePageInfo = BOOL(WINAPI*)(UINT, LPCPINFO);

FARPROC Kernel32Function(const char* name) {
  HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  return kernel32 ? GetProcAddress(kernel32, name) : nullptr;
}

// Without IsDBCSLeadByteEx: IsDBCSLeadByte answers for the ANSI code page, and
// any other code page's lead-byte ranges come from GetCPInfo (also looked up,
// as no source at hand settles it either). This gives up nothing for a code
// page the system has; for one it lacks, or with no GetCPInfo, the answer is
// 0, "not a lead byte", which is also what IsDBCSLeadByteEx returns on failure.
BOOL WINAPI LeadByteWithoutEx(UINT code_page, BYTE test_char) {
  if (code_page == CP_ACP || code_page == GetACP()) return IsDBCSLeadByte(test_char);
  static const auto get_cp_info =
      reinterpret_cast<CodePageInfo>(reinterpret_cast<void*>(Kernel32Function("GetCPInfo")));
  CPINFO info;
  if (!get_cp_info || !get_cp_info(code_page, &info)) return FALSE;
  // Inclusive first/last pairs, ended by a pair of zeros.
  for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2) {
    if (test_char >= info.LeadByte[i] && test_char <= info.LeadByte[i + 1]) return TRUE;
  }
  return FALSE;
}

LeadByteTest FindLeadByteTest() {
  auto found =
      reinterpret_cast<LeadByteTest>(reinterpret_cast<void*>(Kernel32Function("IsDBCSLeadByteEx")));
  return found ? found : &LeadByteWithoutEx;
}

BOOL WINAPI LeadByteInCodePage(UINT code_page, BYTE test_char) {
  static const LeadByteTest test = FindLeadByteTest();
  return test(code_page, test_char);
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
[[gnu::used]] void* import_is_dbcs_lead_byte_ex __asm__(IMPORT_POINTER(IsDBCSLeadByteEx, 8)) =
    reinterpret_cast<void*>(&LeadByteInCodePage);
[[gnu::used]] void* import_fstat64 __asm__(CDECL_IMPORT_POINTER(_fstat64)) =
    reinterpret_cast<void*>(&FstatThroughI64);
}
