#include "sectoredit/disk/write_log.h"

#include <cinttypes>
#include <cstdio>
#include <stdexcept>

namespace sectoredit {

namespace {

class LogFile {
 public:
  explicit LogFile(const std::string& path) : file_(std::fopen(path.c_str(), "ab")) {
    if (!file_) throw std::runtime_error("cannot open the write log " + path);
  }
  ~LogFile() { std::fclose(file_); }
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  void Opened(const std::string& disk) {
    Check(std::fprintf(file_, "O %s\n", disk.c_str()) > 0 && std::fflush(file_) == 0);
  }

  void Wrote(SectorNumber first, uint32_t bytes, const uint8_t* data) {
    Check(std::fprintf(file_, "W %" PRIu64 " %" PRIu32 "\n", first, bytes) > 0 &&
          std::fwrite(data, 1, bytes, file_) == bytes && std::fflush(file_) == 0);
  }

 private:
  static void Check(bool written) {
    if (!written) throw std::runtime_error("cannot write the write log");
  }

  std::FILE* file_;
};

class LoggedDevice : public SectorDevice {
 public:
  LoggedDevice(PlatformDisks& disks, LogFile& log) : disks_(disks), log_(log) {}

  uint32_t ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) override {
    return disks_.Disk().ReadDiskSectors(first, count, buffer);
  }
  uint32_t ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) override {
    return disks_.Disk().ReadDiskSectorsDirect(first, count, buffer);
  }
  uint32_t WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) override {
    const uint32_t written = disks_.Disk().WriteDiskSectors(first, count, buffer);
    if (written > 0) log_.Wrote(first, written, buffer);
    return written;
  }
  SectorNumber LastSector() const override { return disks_.Disk().LastSector(); }

 private:
  PlatformDisks& disks_;
  LogFile& log_;
};

class LoggedDisks : public PlatformDisks {
 public:
  LoggedDisks(std::unique_ptr<PlatformDisks> disks, const std::string& path)
      : disks_(std::move(disks)), log_(path), device_(*disks_, log_) {}

  std::vector<std::string> List() override { return disks_->List(); }
  bool Open(const std::string& disk) override { return Logged(disk, disks_->Open(disk)); }
  bool OpenListEntry(const std::string& text) override {
    return Logged(text, disks_->OpenListEntry(text));
  }
  SectorDevice& Disk() override { return device_; }
  bool OpenRefused() const override { return disks_->OpenRefused(); }

 private:
  bool Logged(const std::string& disk, bool opened) {
    if (opened) log_.Opened(disk);
    return opened;
  }

  std::unique_ptr<PlatformDisks> disks_;
  LogFile log_;
  LoggedDevice device_;
};

}  // namespace

std::unique_ptr<PlatformDisks> LogWrites(std::unique_ptr<PlatformDisks> disks,
                                         const std::string& path) {
  return std::make_unique<LoggedDisks>(std::move(disks), path);
}

}  // namespace sectoredit
