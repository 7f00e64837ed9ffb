#include "sectoredit/editor/select_disk.h"

#include <sys/stat.h>

#include <cctype>

namespace sectoredit {

namespace {

// "/...", "\\..." or "X:\..." (either slash).
bool IsAbsolutePath(std::string_view text) {
  if (!text.empty() && (text[0] == '/' || text[0] == '\\')) return true;
  return text.size() > 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' &&
         (text[2] == '/' || text[2] == '\\');
}

// Asked of the directory, not by opening the file: the open disk, held
// without read sharing, may be that very file. On Windows the 64-bit-size
// form, which every msvcrt has, so that a large image never overflows it.
bool FileExists(const std::string& path) {
#ifdef _WIN32
  struct _stati64 info {};
  return ::_stati64(path.c_str(), &info) == 0 && (info.st_mode & _S_IFREG);
#else
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

// A disk that did not open reads nothing, so the read reports it, unless
// the disk was refused with a box of its own.
bool ShowOpened(SectorSession& session, PlatformDisks& disks, bool opened) {
  session.SetDevice(&disks.Disk());
  return session.ShowOpenedDisk(opened || !disks.OpenRefused()) && opened;
}

}  // namespace

bool OpenSelectedDisk(SectorSession& session, PlatformDisks& disks, const std::string& entry) {
  if (session.state.Busy) return false;  // the search thread reads the open disk
  return ShowOpened(session, disks, disks.Open(entry));
}

bool IsImageFilePath(const std::string& text) {
  return !text.starts_with('L') && IsAbsolutePath(text) && FileExists(text);
}

bool OpenTypedDisk(SectorSession& session, PlatformDisks& disks, const std::string& text) {
  if (session.state.Busy) return false;
  return ShowOpened(session, disks,
                    IsImageFilePath(text) ? disks.Open(text) : disks.OpenListEntry(text));
}

}  // namespace sectoredit
