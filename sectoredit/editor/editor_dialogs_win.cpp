// The modal dialogs: Select Disk, Goto Sector, Copy Block, Number of Sectors,
// the file dialogs of export and import, About, and printing. Each dialog
// closes by posting WM_CLOSE to itself; Escape closes it as Cancel does.
#include <windows.h>
// The common dialogs and the shell need windows.h first.
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>

#include "common/win32_ui_win.h"
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

// Runs a dialog to its end; when it cannot be created (-1), nothing was chosen.
template <DLGPROC procedure>
void Run(int resource, LPARAM param = 0) {
  DialogBoxParamA(App().instance, MAKEINTRESOURCEA(resource), nullptr, Guarded<procedure>, param);
}

// Opens the box's text, or the image file it asks for; false when the
// choice of a file was cancelled.
bool OpenDiskOfSelectBox(HWND dialog) {
  EditorApp& app = App();
  const std::string text = FieldText(dialog, IDC_DISK_LIST);
  const DialogOwner owner(app.messages, dialog);
  if (text != kImageFileEntry) {
    OpenTypedDisk(app.editor, *app.disks, text);
    return true;
  }
  std::string image;
  if (!app.files.Choose(kDiskImageDialog, image)) return false;
  OpenSelectedDisk(app.editor, *app.disks, image);
  return true;
}

INT_PTR CALLBACK SelectDiskProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  EditorApp& app = App();
  if (message == WM_INITDIALOG) {
    const HWND list = GetDlgItem(dialog, IDC_DISK_LIST);
    for (const std::string& entry : app.disks->List()) {
      SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    // Inserted, not added: the sorted list keeps it last.
    SendMessageA(list, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(kImageFileEntry));
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_OPEN) {
    if (OpenDiskOfSelectBox(dialog)) CloseSelf(dialog);
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

// The initial count and the chosen one, which stays 0 unless OK is pressed.
// It travels by address, not as the dialog's result, which cannot hold 64 bits.
struct CountChoice {
  SectorNumber initial;
  SectorNumber chosen = 0;
};

INT_PTR CALLBACK SectorCountProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    const SectorNumber initial = reinterpret_cast<CountChoice*>(lparam)->initial;
    SetDlgItemTextA(dialog, IDC_SECTOR_COUNT_FIELD, std::to_string(initial).c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_SECTOR_COUNT_OK) {
    auto* choice = reinterpret_cast<CountChoice*>(GetWindowLongPtrA(dialog, DWLP_USER));
    choice->chosen = FieldValue(FieldText(dialog, IDC_SECTOR_COUNT_FIELD));
    CloseSelf(dialog);
    return TRUE;
  }
  return EndsOnClose(dialog, message, wparam);
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
  bool StartPage() override { return ::StartPage(dc_) > 0; }
  void DrawLine(int y, std::string_view text) override {
    TextOutA(dc_, 0, y, text.data(), static_cast<int>(text.size()));
  }
  bool EndPage() override { return ::EndPage(dc_) > 0; }

 private:
  HDC dc_;
};

// False when the printer refused the document or one of its pages.
bool PrintDocument(HDC printer, uint32_t copies) {
  EditorApp& app = App();
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = "Printing text";
  if (StartDocA(printer, &document) <= 0) return false;
  TEXTMETRICA metrics{};
  GetTextMetricsA(printer, &metrics);
  PrinterSurface surface(printer);
  if (!PrintSectorPages(surface, app.editor.state.CurrentSector, app.editor.state.SectorBuffer,
                        copies, metrics.tmHeight + metrics.tmExternalLeading)) {
    AbortDoc(printer);
    return false;
  }
  EndDoc(printer);
  return true;
}

}  // namespace

std::string FieldText(HWND dialog, int id) {
  return common::win32::WindowText(GetDlgItem(dialog, id));
}

void RunSelectDisk() {
  App().editor.state.HexPaneActive = true;
  Run<SelectDiskProc>(IDD_SELECT_DISK);
}

void RunGotoSector() { Run<GotoSectorProc>(IDD_GOTO_SECTOR); }

void RunCopyBlock() { Run<CopyBlockProc>(IDD_COPY_BLOCK); }

void RunAbout() { Run<AboutProc>(IDD_ABOUT); }

SectorNumber WindowCountDialog::Ask(SectorNumber initial) {
  CountChoice choice{initial};
  Run<SectorCountProc>(IDD_SECTOR_COUNT, reinterpret_cast<LPARAM>(&choice));
  return choice.chosen;
}

bool WindowFileDialogs::Choose(const FileDialogRequest& request, std::string& name) {
  common::win32::FileDialogSettings settings;
  settings.owner = App().main;
  settings.title = request.title;
  settings.filter = request.filter;
  settings.default_extension = request.default_extension;
  settings.save = request.save;
  // The last name used is offered again.
  return common::win32::ChooseFile(settings, name) == common::win32::FileChoice::kChosen;
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
  if (!PrintDocument(print.hDC, print.nCopies)) {
    app.messages.Show("Error printing sector", "Print Error");
  }
  DeleteDC(print.hDC);
}

}  // namespace sectoredit
