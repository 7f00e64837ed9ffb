// The program's process-wide state: the main window and its panes, the one
// disk layer, the editor, its tools and the search; and the commands that
// open the dialogs.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>

#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/editor/disk_search.h"
#include "sectoredit/editor/editor.h"
#include "sectoredit/editor/sector_tools.h"
#include "sectoredit/editor/win_controls_win.h"

namespace sectoredit {

class WindowFileDialogs : public FileDialogs {
 public:
  bool Choose(const FileDialogRequest& request, std::string& name) override;
};

class WindowCountDialog : public SectorCountDialog {
 public:
  SectorNumber Ask(SectorNumber initial) override;
};

struct EditorApp {
  HINSTANCE instance = nullptr;
  HWND main = nullptr;
  HACCEL accelerators = nullptr;
  HWND search_dialog = nullptr;
  bool closing = false;

  WindowMessages messages;
  ControlPane hex, chars, status;
  WindowPost post;
  std::unique_ptr<PlatformDisks> disks;
  Editor editor{{hex, chars, status}, messages};
  WindowFileDialogs files;
  WindowCountDialog counts;
  SectorTools tools{editor, files, counts};
  DiskSearch search{editor, post};
};

EditorApp& App();

// The dialogs; each runs modally with no owner unless said otherwise.
void RunSelectDisk();
void RunGotoSector();
void RunCopyBlock();
void RunAbout();
void RunPrintSector();
// Modeless, with its own message loop until it closes.
void RunSearchDialog();

// The text of a dialog's field.
std::string FieldText(HWND dialog, int id);

// After a dialog closed: the keyboard goes back to the main window, to the
// pane that takes the edits, so that the focus and HexPaneActive agree.
void ReturnFocus();

// An error box for an exception that reached a window procedure.
void ShowException(const std::exception& error);

// The boundary of each window and dialog procedure: no exception may cross
// into Windows, so one becomes a box and the program goes on.
template <DLGPROC procedure>
INT_PTR CALLBACK Guarded(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return procedure(window, message, wparam, lparam);
  } catch (const std::exception& error) {
    ShowException(error);
    return TRUE;
  }
}

}  // namespace sectoredit
