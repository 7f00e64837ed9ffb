// The open disk and the sector in view, without any panes: what the disk tools
// and the command line need. The editor adds the panes and their commands.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>

#include "common/messages.h"
#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

using SectorArray = std::array<uint8_t, kSectorSize>;

struct EditorState {
  SectorArray SectorBuffer{};  // working copy of CurrentSector
  SectorNumber CurrentSector = 0;
  SectorArray ClipBuffer{};   // Copy To Buffer / Paste From Buffer; never cleared
  bool Dirty = false;         // SectorBuffer changed since last read or write
  bool HexPaneActive = true;  // keyboard edits go to HexPane, else CharPane
  // Set while a disk search runs. Its thread then owns the disk: every command
  // that transfers sectors or changes the sector in view refuses quietly, so
  // that the window, its dialogs and the command line all keep the rule.
  std::atomic<bool> Busy{false};
};

inline constexpr char kDataErrorCaption[] = "Data Error";
inline constexpr char kSectorAccessError[] = "Error accessing contents of sector";

class SectorSession {
 public:
  explicit SectorSession(common::Messages& messages);
  virtual ~SectorSession() = default;
  SectorSession(const SectorSession&) = delete;
  SectorSession& operator=(const SectorSession&) = delete;

  EditorState state;

  // The open disk; nullptr means none, and every transfer then fails.
  void SetDevice(SectorDevice* device);
  SectorDevice& device() const { return *device_; }
  SectorNumber LastSector() const { return device_->LastSector(); }
  common::Messages& messages() const { return messages_; }

  // Shows SectorBuffer; a session without panes has nothing to show.
  virtual void RenderSector() {}

  enum class ReadMode { kReported, kDirect };
  // Reads `sector` into SectorBuffer (zeroed when the read falls short) and
  // makes it current; reports a failed read when `report` is set.
  bool LoadSector(SectorNumber sector, ReadMode mode, bool report, common::MessageStyle style = {});
  // The steps after a disk was opened: sector 0 read directly, clean,
  // rendered; a failed read is reported in the box of the dialog that opened
  // it, when `report` is set.
  bool ShowOpenedDisk(bool report = true);

 private:
  common::Messages& messages_;
  SectorDevice* device_;
};

}  // namespace sectoredit
