// sector_editor: start-up, the main window and its message loop, and the
// command dispatch with its busy filter.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "sectoredit/disk/write_log.h"
#include "sectoredit/editor/editor_app_win.h"
#include "sectoredit/editor/resource.h"

namespace sectoredit {

EditorApp& App() {
  static EditorApp app;
  return app;
}

void ReturnFocus() {
  EditorApp& app = App();
  SetFocus(app.main);
  app.editor.FocusActivePane();
}

void ShowException(const std::exception& error) {
  App().messages.ShowStyled(error.what(), "Error", {.icon = common::MessageStyle::Icon::kError});
}

namespace {

bool InCommandRange(uint32_t id) { return id >= IDM_EXPORT_SECTORS && id <= IDM_ZERO_DATA; }

// Stops the search (waiting for its thread) before the disk layer goes.
void Shutdown() {
  EditorApp& app = App();
  if (app.closing) return;
  app.closing = true;
  app.search.Close();
  if (app.search_dialog) DestroyWindow(app.search_dialog);
  app.editor.SetDevice(nullptr);
  app.disks.reset();
  PostQuitMessage(0);
}

void RunExport() { App().tools.ExportSectors(); }

void RunImport() { App().tools.ImportSectors(); }

// The commands the busy filter lets through have been handled before this.
// Those that open a dialog give the keyboard back when it closed.
void RunToolCommand(uint32_t id) {
  EditorApp& app = App();
  switch (id) {
    case IDM_EXPORT_SECTORS:
      RunExport();
      break;
    case IDM_IMPORT_SECTORS:
      RunImport();
      break;
    case IDM_PRINT_SECTOR:
      RunPrintSector();
      break;
    case IDM_ABOUT:
      RunAbout();
      break;
    case IDM_GOTO_SECTOR:
      RunGotoSector();
      break;
    case IDM_SEARCH_DISK:
      if (app.search_dialog) return;  // the open dialog keeps the keyboard
      RunSearchDialog();
      break;
    case IDM_SELECT_DISK:
      RunSelectDisk();
      break;
    case IDM_COPY_BLOCK:
      RunCopyBlock();
      break;
    default:
      app.editor.Command(id);
      return;
  }
  ReturnFocus();
}

void OnCommand(uint32_t id, LPARAM param) {
  EditorApp& app = App();
  if (id >= IDM_HEX_A && id <= IDM_HEX_LOWER_F) {
    app.editor.Command(id, static_cast<uint32_t>(param));  // each with its own busy rule
    return;
  }
  if (id == IDM_EXIT) {
    PostMessageA(app.main, WM_CLOSE, 0, 0);
    return;
  }
  if (!InCommandRange(id) || app.editor.state.Busy.load()) return;
  RunToolCommand(id);
}

void OnScroll(WPARAM code) {
  EditorApp& app = App();
  if (LOWORD(code) == SB_LINELEFT) app.editor.PreviousSector();
  if (LOWORD(code) == SB_LINERIGHT) app.editor.NextSector();
}

// A hex row is a few pixels wider than its pane's template width gives in
// some renderings of the font; a wrapped row would no longer line up with its
// label, so the pane grows into its frame's spare room as far as the row needs.
void FitPaneToRow(HWND pane, size_t row_length) {
  const HDC dc = GetDC(pane);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(pane, WM_GETFONT, 0, 0)));
  SIZE row{};
  GetTextExtentPoint32A(dc, std::string(row_length, '0').c_str(), static_cast<int>(row_length),
                        &row);
  SelectObject(dc, old);
  ReleaseDC(pane, dc);
  RECT client, outer;
  GetClientRect(pane, &client);
  if (row.cx <= client.right) return;
  GetWindowRect(pane, &outer);
  SetWindowPos(pane, nullptr, 0, 0, outer.right - outer.left + row.cx - client.right,
               outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInitDialog(HWND window) {
  EditorApp& app = App();
  app.main = window;
  app.messages.SetMainWindow(window);
  app.post.SetWindow(window);
  app.hex.Attach(GetDlgItem(window, IDC_HEX_PANE));
  app.chars.Attach(GetDlgItem(window, IDC_CHAR_PANE));
  app.status.Attach(GetDlgItem(window, IDC_STATUS));
  for (const HWND pane : {app.hex.control(), app.chars.control()}) {
    SendMessageA(pane, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  }
  FitPaneToRow(app.hex.control(), 48);
  const HICON icon = LoadIconA(app.instance, MAKEINTRESOURCEA(IDI_PROGRAM));
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  app.editor.RenderSector();
  PostMessageA(window, WM_COMMAND, IDM_SELECT_DISK, 0);
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(window);
      return FALSE;  // the focus stays where start-up puts it
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), lparam);
      return TRUE;
    case WM_HSCROLL:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == IDC_SCROLL) OnScroll(wparam);
      return TRUE;
    case kRunTaskMessage:
      WindowPost::Run(lparam);
      return TRUE;
    case WM_CLOSE:
      Shutdown();
      DestroyWindow(window);
      return TRUE;
    case WM_QUERYENDSESSION:
      Shutdown();
      SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_DESTROY:
      Shutdown();
      return TRUE;
    default:
      return FALSE;
  }
}

void RunMessageLoop() {
  EditorApp& app = App();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorA(app.main, app.accelerators, &msg)) continue;
    if (msg.message == WM_LBUTTONDOWN && msg.hwnd == app.chars.control()) {
      app.editor.PaneClicked(false);
    } else if (msg.message == WM_LBUTTONDOWN && msg.hwnd == app.hex.control()) {
      app.editor.PaneClicked(true);
    }
    TranslateMessage(&msg);
    if (msg.message == WM_CHAR && msg.hwnd == app.chars.control()) {
      PostMessageA(app.main, WM_COMMAND, IDM_CHAR_TYPED, static_cast<LPARAM>(msg.wParam));
    }
    DispatchMessageA(&msg);
  }
}

}  // namespace

}  // namespace sectoredit

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  using namespace sectoredit;
  EditorApp& app = App();
  app.instance = instance;
  app.disks = MakePlatformDisks(app.messages);  // detects the access method once
#ifdef SECTOR_EDITOR_WRITE_LOG
  // The random-walk test build records every write for its harness to replay.
  if (const char* log = std::getenv("SECTOR_EDITOR_WRITE_LOG")) {
    app.disks = LogWrites(std::move(app.disks), log);
  }
#endif
  app.editor.SetDevice(&app.disks->Disk());
  const HWND window =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, Guarded<MainWindowProc>, 0);
  if (!window) return 1;
  ShowWindow(window, show);
  app.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  RunMessageLoop();
  return 0;
}
