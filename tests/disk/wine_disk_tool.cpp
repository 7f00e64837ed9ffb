// A small Windows program for the Wine disk tests: moves whole sectors
// between a disk (a list entry such as "Logical D:") and a file through the
// disk layer, so a script can compare them with the image behind the drive.
//   disk_tool read ENTRY FIRST COUNT FILE
//   disk_tool write ENTRY FIRST FILE
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "sectoredit/disk/aligned_buffer.h"
#include "sectoredit/disk/platform_disks.h"

namespace {

using sectoredit::AlignedSectorBuffer;
using sectoredit::kMaxTransferSectors;
using sectoredit::kSectorSize;

int Usage() {
  std::cerr << "usage: disk_tool read ENTRY FIRST COUNT FILE | write ENTRY FIRST FILE\n";
  return 2;
}

bool ParseNumber(const std::string& text, uint32_t* value) {
  char* end = nullptr;
  const unsigned long number = std::strtoul(text.c_str(), &end, 10);
  *value = static_cast<uint32_t>(number);
  return !text.empty() && *end == '\0' && number <= UINT32_MAX;
}

int Read(sectoredit::SectorDevice& disk, uint32_t first, uint32_t count, const std::string& file) {
  if (count == 0 || count > kMaxTransferSectors) return Usage();
  AlignedSectorBuffer buffer(count);
  const uint32_t done = disk.ReadDiskSectors(first, count, buffer.data());
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(buffer.data()), done);
  std::cout << "read " << done << "\n";
  return done == buffer.size() ? 0 : 1;
}

int Write(sectoredit::SectorDevice& disk, uint32_t first, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  const uint32_t count = static_cast<uint32_t>(bytes.size() / kSectorSize);
  if (count == 0 || count > kMaxTransferSectors || bytes.size() % kSectorSize != 0) return Usage();
  AlignedSectorBuffer buffer(count);
  std::copy(bytes.begin(), bytes.end(), buffer.data());
  const uint32_t done = disk.WriteDiskSectors(first, count, buffer.data());
  std::cout << "wrote " << done << "\n";
  return done == buffer.size() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  uint32_t first = 0;
  uint32_t count = 0;
  const bool read = args.size() == 5 && args[0] == "read" && ParseNumber(args[3], &count);
  const bool write = args.size() == 4 && args[0] == "write";
  if ((!read && !write) || !ParseNumber(args[2], &first)) return Usage();
  common::StreamMessages messages(std::cerr, false);
  const auto disks = sectoredit::MakePlatformDisks(messages);
  if (!disks->Open(args[1])) {
    std::cerr << "disk_tool: cannot open " << args[1] << "\n";
    return 1;
  }
  sectoredit::SectorDevice& disk = disks->Disk();
  return read ? Read(disk, first, count, args[4]) : Write(disk, first, args[3]);
}
