// Only narrow (*A) functions, and only those that Windows 95/98/Me and NT 4.0
// export; MoveFileExA is looked up at run time.
#include <io.h>
#include <windows.h>

#include "common/files.h"

namespace common {
namespace {

using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

MoveFileExFunction FindMoveFileEx() {
  FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "MoveFileExA");
  return reinterpret_cast<MoveFileExFunction>(reinterpret_cast<void*>(found));
}

}  // namespace

bool RenameReplacing(const std::string& from, const std::string& to) {
  static const MoveFileExFunction moveFileEx = FindMoveFileEx();
  if (moveFileEx) {
    if (moveFileEx(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  }
  // Windows 95/98/Me: no replacing rename. This is not atomic: if the move
  // fails after the delete, the old file is gone and `from` is left in place.
  if (!DeleteFileA(to.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

std::optional<uint64_t> FileLength(std::FILE* file) {
  auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  // A low part of all ones is a valid length; only the error code tells.
  SetLastError(NO_ERROR);
  DWORD high = 0;
  DWORD low = GetFileSize(handle, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
  return uint64_t{high} << 32 | low;
}

}  // namespace common
