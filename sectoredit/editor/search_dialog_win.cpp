// Search Disk: a modeless dialog with its own message loop. In hexadecimal
// mode the digit keys arrive as the main accelerators' commands and no other
// key reaches the field; the search itself runs on the core's worker thread.
#include <windows.h>

#include "sectoredit/editor/editor_app_win.h"
#include "sectoredit/editor/resource.h"

namespace sectoredit {

namespace {

ControlPane search_field;
ControlPane search_progress;

void OnSearchCommand(HWND dialog, UINT id) {
  DiskSearch& search = App().search;
  if (id == IDM_ERASE_DIGIT) {
    search.EraseDigit();
  } else if (id >= IDM_HEX_A && id <= IDM_HEX_LOWER_F) {
    search.HexDigitCommand(id);
  } else if (id == IDC_SEARCH_HEX || id == IDC_SEARCH_ASCII) {
    search.ChooseMode(id == IDC_SEARCH_HEX);
  } else if (id == IDC_SEARCH_BUTTON) {
    const DialogOwner owner(App().messages, dialog);
    search.StartSearch();
  } else if (id == IDC_CANCEL || id == IDCANCEL) {
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }
}

// Closing stops the search and waits for its thread, then ends the loop.
// The dialog is destroyed by its WM_CLOSE, or already being destroyed.
void CloseSearch(HWND dialog, bool destroy) {
  EditorApp& app = App();
  if (app.search_dialog != dialog) return;
  app.search_dialog = nullptr;
  {
    const DialogOwner owner(app.messages, dialog);  // a hit's read error is the dialog's
    app.search.Close();
  }
  if (destroy) DestroyWindow(dialog);
  PostQuitMessage(0);
}

INT_PTR CALLBACK SearchProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  EditorApp& app = App();
  switch (message) {
    case WM_INITDIALOG:
      search_field.Attach(GetDlgItem(dialog, IDC_SEARCH_FIELD));
      search_progress.Attach(GetDlgItem(dialog, IDC_SEARCH_PROGRESS));
      CheckRadioButton(dialog, IDC_SEARCH_HEX, IDC_SEARCH_ASCII,
                       app.search.state.hex_mode ? IDC_SEARCH_HEX : IDC_SEARCH_ASCII);
      return TRUE;
    case WM_COMMAND:
      OnSearchCommand(dialog, LOWORD(wparam));
      return TRUE;
    case WM_CLOSE:
      CloseSearch(dialog, true);
      return TRUE;
    case WM_QUERYENDSESSION:
      // The session may end. The answer goes through DWLP_MSGRESULT, which a
      // dialog destroyed here would no longer have: it closes by its WM_CLOSE.
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_DESTROY:
      CloseSearch(dialog, false);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunSearchDialog() {
  EditorApp& app = App();
  const HWND dialog = CreateDialogParamA(app.instance, MAKEINTRESOURCEA(IDD_SEARCH_DISK), nullptr,
                                         Guarded<SearchProc>, 0);
  if (!dialog) return;
  app.search_dialog = dialog;
  app.search.Open(
      {search_field, search_progress, [dialog] { PostMessageA(dialog, WM_CLOSE, 0, 0); }});
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // Without the dialog manager's keys, Escape closes the dialog as Cancel does.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      continue;
    }
    if (app.search.state.hex_mode) {
      if (TranslateAcceleratorA(dialog, app.accelerators, &msg)) continue;
      if (msg.message == WM_KEYDOWN) continue;  // nothing but digits is typed
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The program is closing: the main loop needs its own quit message.
  if (app.closing) PostQuitMessage(0);
}

}  // namespace sectoredit
