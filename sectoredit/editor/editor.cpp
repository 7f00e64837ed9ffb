#include "sectoredit/editor/editor.h"

#include <cctype>

#include "sectoredit/editor/resource.h"
#include "sectoredit/editor/sector_view.h"

namespace sectoredit {

namespace {

constexpr uint32_t kLastCharRow = 31;

}  // namespace

Editor::Editor(EditorPanes panes, common::Messages& messages)
    : SectorSession(messages), panes_(panes) {}

bool Editor::Command(uint32_t id, uint32_t param) {
  const bool busy = state.Busy.load();
  switch (id) {
    case IDM_CARET_RIGHT:
      CaretRight();
      return true;
    case IDM_CARET_LEFT:
      CaretLeft();
      return true;
    case IDM_CARET_DOWN:
      CaretDown();
      return true;
    case IDM_CARET_UP:
      CaretUp();
      return true;
    case IDM_SWITCH_PANE:
      SwitchPane();
      return true;
    default:
      break;
  }
  const bool sector_command =
      id == IDM_SAVE_SECTOR || id == IDM_UNDO_CHANGES || id == IDM_COPY_TO_BUFFER ||
      id == IDM_PASTE_FROM_BUFFER || id == IDM_ZERO_DATA || id == IDM_NEXT_SECTOR ||
      id == IDM_PREVIOUS_SECTOR || id == IDM_CHAR_TYPED || HexDigitOf(id).has_value();
  if (!sector_command) return false;
  if (busy) return true;  // the search thread owns the disk until it ends
  switch (id) {
    case IDM_SAVE_SECTOR:
      SaveSector();
      break;
    case IDM_UNDO_CHANGES:
      UndoChanges();
      break;
    case IDM_COPY_TO_BUFFER:
      CopyToBuffer();
      break;
    case IDM_PASTE_FROM_BUFFER:
      PasteFromBuffer();
      break;
    case IDM_ZERO_DATA:
      ZeroData();
      break;
    case IDM_NEXT_SECTOR:
      NextSector();
      break;
    case IDM_PREVIOUS_SECTOR:
      PreviousSector();
      break;
    case IDM_CHAR_TYPED:
      CharTypedCommand(param);
      break;
    default:
      HexDigitCommand(id);
      break;
  }
  return true;
}

void Editor::RenderSector() {
  panes_.hex.SetText(FormatHexPane(state.SectorBuffer));
  RenderCharPane();
  panes_.status.SetText(FormatStatus(state.CurrentSector, LastSector()));
}

void Editor::RenderCharPane() { panes_.chars.SetText(FormatCharPane(state.SectorBuffer)); }

bool Editor::SaveSector() {
  if (state.Busy) return false;
  if (device().WriteDiskSectors(state.CurrentSector, 1, state.SectorBuffer.data()) != kSectorSize) {
    messages().Show("Error writing sector", kDataErrorCaption);
    return false;
  }
  state.Dirty = false;
  return true;
}

bool Editor::ConfirmDiscard() {
  if (!state.Dirty) return true;
  if (messages().Ask("Unsaved changes will be lost\nWould you like to save the changes?",
                     "Save Changes?")) {
    return SaveSector();
  }
  state.Dirty = false;
  return true;
}

void Editor::UndoChanges() {
  if (state.Busy) return;
  LoadSector(state.CurrentSector, ReadMode::kReported, true);
  state.Dirty = false;
  RenderSector();
}

void Editor::CopyToBuffer() { state.ClipBuffer = state.SectorBuffer; }

void Editor::PasteFromBuffer() {
  state.SectorBuffer = state.ClipBuffer;
  state.Dirty = true;
  RenderSector();
}

void Editor::ZeroData() {
  state.SectorBuffer.fill(0);
  RenderSector();
  state.Dirty = true;
}

void Editor::MoveTo(SectorNumber sector) {
  if (state.Busy) return;
  if (!ConfirmDiscard()) return;  // the save failed: stay with the edits
  LoadSector(sector, ReadMode::kReported, true);
  RenderSector();
}

void Editor::NextSector() {
  MoveTo(state.CurrentSector == LastSector() ? 0 : state.CurrentSector + 1);
}

void Editor::PreviousSector() {
  MoveTo(state.CurrentSector == 0 ? LastSector() : state.CurrentSector - 1);
}

void Editor::HexDigitCommand(uint32_t id) {
  const std::optional<HexDigit> digit = HexDigitOf(id);
  if (!digit) return;
  if (state.HexPaneActive) {
    EditHexPane(digit->value, digit->character);
  } else {
    EditCharPane(static_cast<uint8_t>(digit->character));
  }
}

void Editor::CharTypedCommand(uint32_t character_code) {
  EditCharPane(static_cast<uint8_t>(character_code & 0xFF));
}

void Editor::EditHexPane(uint8_t value, char character) {
  MoveHexCaret(SnapHexPosition);
  const uint32_t p = panes_.hex.Caret();
  if (p >= kHexPaneLength - 1) return;             // past the last byte's low digit
  const uint32_t b = p - 2 * (p / kHexRowStride);  // position without line breaks
  uint8_t& byte = state.SectorBuffer[b / 3];
  byte = b % 3 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (value << 4))
                    : static_cast<uint8_t>((byte & 0xF0) | value);
  state.Dirty = true;
  panes_.hex.Select(p, p + 1);
  panes_.hex.ReplaceSelection(
      std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(character)))));
  RenderCharPane();
  MoveHexCaret(SnapHexPosition);
}

void Editor::EditCharPane(uint8_t character) {
  uint32_t q = panes_.chars.Caret();
  uint32_t row = q / kCharRowStride;
  uint32_t col = q % kCharRowStride;
  if (col > 15) {  // at a line end: go on at the next row's start
    if (row >= kLastCharRow) return;
    ++row;
    col = 0;
  }
  state.Dirty = true;
  state.SectorBuffer[16 * row + col] = character;
  RenderCharPane();
  const uint32_t hex_position = kHexRowStride * row + 3 * col;
  panes_.hex.Select(hex_position, hex_position + 2);
  panes_.hex.ReplaceSelection(HexByte(character));
  if (++col > 15) {
    if (row < kLastCharRow) {
      col = 0;
      ++row;
    } else {
      col = 15;
    }
  }
  q = kCharRowStride * row + col;
  panes_.chars.Select(q, q);
}

void Editor::MoveHexCaret(uint32_t (*step)(uint32_t)) {
  const uint32_t p = step(panes_.hex.Caret());
  panes_.hex.Select(p, p);
}

void Editor::CaretRight() { MoveHexCaret(HexCaretRight); }
void Editor::CaretLeft() { MoveHexCaret(HexCaretLeft); }
void Editor::CaretDown() { MoveHexCaret(HexCaretDown); }
void Editor::CaretUp() { MoveHexCaret(HexCaretUp); }

void Editor::SwitchPane() {
  if (state.HexPaneActive) {
    const uint32_t p = panes_.hex.Caret();
    const uint32_t q = kCharRowStride * (p / kHexRowStride) + (p % kHexRowStride) / 3;
    panes_.chars.Select(q + 1, q);
    panes_.chars.Focus();
  } else {
    panes_.hex.Focus();
  }
  state.HexPaneActive = !state.HexPaneActive;
}

void Editor::FocusActivePane() { (state.HexPaneActive ? panes_.hex : panes_.chars).Focus(); }

}  // namespace sectoredit
