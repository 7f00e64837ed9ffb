// The editor's one view of the open disk: the sector in memory, its two panes
// and status line, and the editing and navigation commands. The window and the
// tests drive this same object.
#pragma once

#include <cstdint>

#include "sectoredit/editor/sector_session.h"
#include "sectoredit/editor/text_pane.h"

namespace sectoredit {

struct EditorPanes {
  TextPane& hex;
  TextPane& chars;
  TextPane& status;
};

class Editor : public SectorSession {
 public:
  Editor(EditorPanes panes, common::Messages& messages);

  const EditorPanes& panes() const { return panes_; }

  // Runs an editing, caret or navigation command; false for ids handled elsewhere.
  bool Command(uint32_t id, uint32_t param = 0);

  void RenderSector() override;
  void RenderCharPane();

  // The commands that transfer sectors do nothing while Busy.
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
  // Gives the keyboard to the pane that takes the edits (after a dialog closed).
  void FocusActivePane();
  // A mouse press on a pane makes it the one that takes keyboard edits.
  void PaneClicked(bool hex_pane) { state.HexPaneActive = hex_pane; }

 private:
  void EditHexPane(uint8_t value, char character);
  void EditCharPane(uint8_t character);
  void MoveHexCaret(uint32_t (*step)(uint32_t));
  void MoveTo(SectorNumber sector);

  EditorPanes panes_;
};

}  // namespace sectoredit
