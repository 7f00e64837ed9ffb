#include "sectoredit/disk/posix_disk.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>

#include "sectoredit/disk/aligned_buffer.h"
#include "sectoredit/disk/last_sector.h"

namespace sectoredit {

namespace {

bool ValidCount(uint32_t count) { return count >= 1 && count <= kMaxTransferSectors; }

// pread/pwrite until all bytes moved, the end of the disk or an error.
template <typename Transfer>
uint32_t TransferAll(Transfer transfer, uint32_t size) {
  uint32_t done = 0;
  while (done < size) {
    const ssize_t n = transfer(done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<uint32_t>(n);
  }
  return done;
}

// Sectors whose offset does not fit off_t cannot be reached.
std::optional<off_t> SectorOffset(SectorNumber sector) {
  if (sector > static_cast<uint64_t>(std::numeric_limits<off_t>::max()) / kSectorSize) {
    return std::nullopt;
  }
  return static_cast<off_t>(sector * kSectorSize);
}

bool HasDiskName(const std::string& name) {
  for (const char* prefix : {"sd", "nvme", "loop", "mmcblk"}) {
    if (name.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace

PosixDisk::~PosixDisk() { Close(); }

bool PosixDisk::Open(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (fd_ < 0) return false;
  const auto size = PosixDiskSize(fd_);
  last_sector_ = size ? LastSectorFromSectorCount(*size / kSectorSize) : 0;
  return true;
}

void PosixDisk::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  last_sector_ = 0;
}

uint32_t PosixDisk::ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) {
  if (fd_ < 0) {
    messages_.Show("Error reading disk", "Error");
    return 0;
  }
  return ReadDiskSectorsDirect(first, count, buffer);
}

uint32_t PosixDisk::ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) {
  const auto offset = SectorOffset(first);
  if (fd_ < 0 || !ValidCount(count) || !offset) return 0;
  return TransferAll(
      [&](uint32_t done) {
        return ::pread(fd_, buffer + done, count * kSectorSize - done, *offset + done);
      },
      count * kSectorSize);
}

uint32_t PosixDisk::WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) {
  const auto offset = SectorOffset(first);
  if (fd_ < 0 || !ValidCount(count) || !offset) return 0;
  return TransferAll(
      [&](uint32_t done) {
        return ::pwrite(fd_, buffer + done, count * kSectorSize - done, *offset + done);
      },
      count * kSectorSize);
}

std::optional<uint64_t> PosixDiskSize(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::nullopt;
  if (S_ISBLK(info.st_mode)) {
    uint64_t bytes = 0;
    if (::ioctl(fd, BLKGETSIZE64, &bytes) != 0) return std::nullopt;
    return bytes;
  }
  if (!S_ISREG(info.st_mode) || info.st_size < 0) return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

bool ProbeDiskPath(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  AlignedSectorBuffer scratch(1);
  const ssize_t n = ::pread(fd, scratch.data(), kSectorSize, 0);
  ::close(fd);
  return n == static_cast<ssize_t>(kSectorSize);
}

std::vector<std::string> ListBlockDevices(const std::string& sys_class_block,
                                          const std::string& dev_dir) {
  std::vector<std::string> partitions;
  std::vector<std::string> disks;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(sys_class_block, error)) {
    const std::string name = entry.path().filename().string();
    const std::string path = dev_dir + "/" + name;
    if (!HasDiskName(name) || !ProbeDiskPath(path)) continue;
    std::error_code ignored;
    const bool partition = std::filesystem::exists(entry.path() / "partition", ignored);
    (partition ? partitions : disks).push_back(path);
  }
  std::sort(partitions.begin(), partitions.end());
  std::sort(disks.begin(), disks.end());
  std::vector<std::string> entries;
  for (const auto& path : partitions) entries.push_back("Logical " + path);
  for (const auto& path : disks) entries.push_back("Physical " + path);
  return entries;
}

std::string DiskPathFromEntry(const std::string& text) {
  if (text.starts_with("Logical ") || text.starts_with("Physical ")) {
    return text.substr(text.find(' ') + 1);
  }
  return text;
}

}  // namespace sectoredit
