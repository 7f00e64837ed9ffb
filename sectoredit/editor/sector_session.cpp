#include "sectoredit/editor/sector_session.h"

namespace sectoredit {

namespace {

// Stands in while no disk is open: every transfer fails.
class NoDisk : public SectorDevice {
 public:
  uint32_t ReadDiskSectors(SectorNumber, uint32_t, uint8_t*) override { return 0; }
  uint32_t ReadDiskSectorsDirect(SectorNumber, uint32_t, uint8_t*) override { return 0; }
  uint32_t WriteDiskSectors(SectorNumber, uint32_t, const uint8_t*) override { return 0; }
  SectorNumber LastSector() const override { return 0; }
};

NoDisk no_disk;

}  // namespace

SectorSession::SectorSession(common::Messages& messages) : messages_(messages), device_(&no_disk) {}

void SectorSession::SetDevice(SectorDevice* device) { device_ = device ? device : &no_disk; }

bool SectorSession::LoadSector(SectorNumber sector, ReadMode mode, bool report,
                               common::MessageStyle style) {
  state.CurrentSector = sector;
  uint8_t* buffer = state.SectorBuffer.data();
  const uint32_t got = mode == ReadMode::kDirect ? device_->ReadDiskSectorsDirect(sector, 1, buffer)
                                                 : device_->ReadDiskSectors(sector, 1, buffer);
  if (got == kSectorSize) return true;
  // Whatever a failed read left behind is not this sector's content.
  state.SectorBuffer.fill(0);
  if (report) messages_.ShowStyled(kSectorAccessError, kDataErrorCaption, style);
  return false;
}

bool SectorSession::ShowOpenedDisk(bool report) {
  state.Dirty = false;
  const bool read = LoadSector(0, ReadMode::kDirect, report, common::kOwnedByDialog);
  RenderSector();
  return read;
}

}  // namespace sectoredit
