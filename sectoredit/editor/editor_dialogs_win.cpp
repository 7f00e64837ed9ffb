// The modal dialogs: Select Disk, Goto Sector, Copy Block, Number of Sectors,
// the file dialogs of export and import, About, and printing. Each dialog
// closes by posting WM_CLOSE to itself; Escape closes it as Cancel does.
#include <windows.h>
// The common dialogs and the shell need windows.h first.
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>

#include "sectoredit/editor/editor_app_win.h"
#include "sectoredit/editor/printed_page.h"
#include "sectoredit/editor/resource.h"
#include "sectoredit/editor/select_disk.h"

namespace sectoredit {

namespace {

// The project's own addresses behind the About box's buttons.
constexpr char kMailAddress[] = "mailto:sector-editor@example.org";
constexpr char kDonationPage[] = "https://example.org/sector-editor/donate";

void CloseSelf(HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }

bool IsCancel(UINT id) { return id == IDC_CANCEL || id == IDCANCEL; }

// Cancel and Escape close a dialog the way its other buttons do; WM_CLOSE ends it.
INT_PTR EndsOnClose(HWND dialog, UINT message, WPARAM wparam) {
  if (message == WM_COMMAND && IsCancel(LOWORD(wparam))) {
    CloseSelf(dialog);
    return TRUE;
  }
  if (message == WM_CLOSE) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

INT_PTR Run(int resource, DLGPROC procedure, LPARAM param = 0) {
  return DialogBoxParamA(App().instance, MAKEINTRESOURCEA(resource), nullptr, procedure, param);
}

// Closing returns the keyboard to the main window.
void ReturnFocus() {
  SetFocus(App().main);
  SetFocus(App().hex.control());
}

INT_PTR CALLBACK SelectDiskProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  EditorApp& app = App();
  if (message == WM_INITDIALOG) {
    const HWND list = GetDlgItem(dialog, IDC_DISK_LIST);
    for (const std::string& entry : app.disks->List()) {
      SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_OPEN) {
    const std::string entry = FieldText(dialog, IDC_DISK_LIST);
    const DialogOwner owner(app.messages, dialog);
    OpenSelectedDisk(app.editor, *app.disks, entry);
    CloseSelf(dialog);
    return TRUE;
  }
  return EndsOnClose(dialog, message, wparam);
}

INT_PTR CALLBACK GotoSectorProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  EditorApp& app = App();
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_GOTO_BUTTON) {
    const DialogOwner owner(app.messages, dialog);
    app.tools.GotoSector(FieldValue(FieldText(dialog, IDC_GOTO_FIELD)));
    CloseSelf(dialog);
    return TRUE;
  }
  return EndsOnClose(dialog, message, wparam);
}

INT_PTR CALLBACK CopyBlockProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  EditorApp& app = App();
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_COPY_BUTTON) {
    const HWND progress_text = GetDlgItem(dialog, IDC_COPY_PROGRESS);
    ToolProgress progress;
    progress.show = [progress_text](const std::string& text) {
      SetWindowTextA(progress_text, text.c_str());
      UpdateWindow(progress_text);  // the copy holds the message loop until it ends
    };
    const DialogOwner owner(app.messages, dialog);
    app.tools.CopyBlock(FieldValue(FieldText(dialog, IDC_COPY_DESTINATION)),
                        FieldValue(FieldText(dialog, IDC_COPY_COUNT)), progress);
    CloseSelf(dialog);
    return TRUE;
  }
  return EndsOnClose(dialog, message, wparam);
}

// The count travels in the dialog's user data until it closes.
INT_PTR CALLBACK SectorCountProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemInt(dialog, IDC_SECTOR_COUNT_FIELD, static_cast<UINT>(lparam), FALSE);
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_SECTOR_COUNT_OK) {
    SetWindowLongPtrA(dialog, DWLP_USER,
                      static_cast<LONG_PTR>(FieldValue(FieldText(dialog, IDC_SECTOR_COUNT_FIELD))));
    CloseSelf(dialog);
    return TRUE;
  }
  if (message == WM_COMMAND && IsCancel(LOWORD(wparam))) {
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    CloseSelf(dialog);
    return TRUE;
  }
  if (message == WM_CLOSE) {
    EndDialog(dialog, GetWindowLongPtrA(dialog, DWLP_USER));
    return TRUE;
  }
  return FALSE;
}

void OpenLink(const char* address) {
  ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_EMAIL_ME) {
    OpenLink(kMailAddress);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_DONATE) {
    OpenLink(kDonationPage);
    return TRUE;
  }
  return EndsOnClose(dialog, message, wparam);
}

// A printer's device context as the surface the core draws the page on.
class PrinterSurface : public PageSurface {
 public:
  explicit PrinterSurface(HDC dc) : dc_(dc) {}
  void StartPage() override { ::StartPage(dc_); }
  void DrawLine(int y, std::string_view text) override {
    TextOutA(dc_, 0, y, text.data(), static_cast<int>(text.size()));
  }
  void EndPage() override { ::EndPage(dc_); }

 private:
  HDC dc_;
};

}  // namespace

std::string FieldText(HWND dialog, int id) {
  const HWND field = GetDlgItem(dialog, id);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(field)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(field, text.data(), int(text.size()))));
  return text;
}

void RunSelectDisk() {
  App().editor.state.HexPaneActive = true;
  Run(IDD_SELECT_DISK, SelectDiskProc);
  ReturnFocus();
}

void RunGotoSector() {
  Run(IDD_GOTO_SECTOR, GotoSectorProc);
  ReturnFocus();
}

void RunCopyBlock() {
  Run(IDD_COPY_BLOCK, CopyBlockProc);
  ReturnFocus();
}

void RunAbout() {
  Run(IDD_ABOUT, AboutProc);
  ReturnFocus();
}

uint32_t WindowCountDialog::Ask(uint32_t initial) {
  return static_cast<uint32_t>(Run(IDD_SECTOR_COUNT, SectorCountProc, initial));
}

bool WindowFileDialogs::Choose(const FileDialogRequest& request, std::string& name) {
  char file[256] = {};
  std::strncpy(file, name.c_str(), sizeof file - 1);  // the last name used is offered again
  const std::string title(request.title);
  const std::string extension(request.default_extension);
  const std::string filter(request.filter);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = App().main;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_HIDEREADONLY;
  dialog.lpstrDefExt = extension.c_str();
  const BOOL chosen = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!chosen) return false;
  name = file;
  return true;
}

void RunPrintSector() {
  EditorApp& app = App();
  PRINTDLGA print{};
  print.lStructSize = sizeof print;
  print.hwndOwner = app.main;
  print.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
  print.nMinPage = print.nMaxPage = 1;
  print.nCopies = 1;
  if (!PrintDlgA(&print)) return;
  if (print.hDevMode) GlobalFree(print.hDevMode);
  if (print.hDevNames) GlobalFree(print.hDevNames);
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = "Printing text";
  if (StartDocA(print.hDC, &document) > 0) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(print.hDC, &metrics);
    PrinterSurface surface(print.hDC);
    PrintSectorPages(surface, app.editor.state.CurrentSector, app.editor.state.SectorBuffer,
                     print.nCopies, metrics.tmHeight + metrics.tmExternalLeading);
    EndDoc(print.hDC);
  }
  DeleteDC(print.hDC);
}

}  // namespace sectoredit
