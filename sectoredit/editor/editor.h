// The editor's one view of the open disk: the sector in memory, its two panes
// and status line, and the editing and navigation commands. The window, the
// command line and the tests all drive this same object.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "common/messages.h"
#include "sectoredit/disk/sector_device.h"
#include "sectoredit/editor/text_pane.h"

namespace sectoredit {

using SectorArray = std::array<uint8_t, kSectorSize>;

struct EditorState {
  SectorArray SectorBuffer{};  // working copy of CurrentSector
  uint32_t CurrentSector = 0;
  SectorArray ClipBuffer{};   // Copy To Buffer / Paste From Buffer; never cleared
  bool Dirty = false;         // SectorBuffer changed since last read or write
  bool HexPaneActive = true;  // keyboard edits go to HexPane, else CharPane
  // Set while a disk search runs; disk and sector commands are ignored then.
  std::atomic<bool> Busy{false};
};

struct EditorPanes {
  TextPane& hex;
  TextPane& chars;
  TextPane& status;
};

inline constexpr char kDataErrorCaption[] = "Data Error";
inline constexpr char kSectorAccessError[] = "Error accessing contents of sector";

class Editor {
 public:
  Editor(EditorPanes panes, common::Messages& messages);
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  EditorState state;

  // The open disk; nullptr means none, and every transfer then fails.
  void SetDevice(SectorDevice* device);
  SectorDevice& device() const { return *device_; }
  uint32_t LastSector() const { return device_->LastSector(); }
  common::Messages& messages() const { return messages_; }
  const EditorPanes& panes() const { return panes_; }

  // Runs an editing, caret or navigation command; false for ids handled elsewhere.
  bool Command(uint32_t id, uint32_t param = 0);

  void RenderSector();
  void RenderCharPane();

  // Writes SectorBuffer back; a failed write is reported and keeps Dirty.
  bool SaveSector();
  // Offers to save unsaved changes; false when the save was wanted and failed.
  bool ConfirmDiscard();
  void UndoChanges();
  void CopyToBuffer();
  void PasteFromBuffer();
  void ZeroData();
  void NextSector();
  void PreviousSector();
  void HexDigitCommand(uint32_t id);
  void CharTypedCommand(uint32_t character_code);
  void CaretRight();
  void CaretLeft();
  void CaretDown();
  void CaretUp();
  void SwitchPane();
  // A mouse press on a pane makes it the one that takes keyboard edits.
  void PaneClicked(bool hex_pane) { state.HexPaneActive = hex_pane; }

  enum class ReadMode { kReported, kDirect };
  // Reads `sector` into SectorBuffer (zeroed when the read falls short) and
  // makes it current; reports a failed read when `report` is set.
  bool LoadSector(uint32_t sector, ReadMode mode, bool report);
  // The steps after a disk was opened: sector 0, clean, rendered.
  void ShowOpenedDisk();

 private:
  void EditHexPane(uint8_t value, char character);
  void EditCharPane(uint8_t character);
  void MoveHexCaret(uint32_t (*step)(uint32_t));
  void MoveTo(uint32_t sector);

  EditorPanes panes_;
  common::Messages& messages_;
  SectorDevice* device_;
};

}  // namespace sectoredit
