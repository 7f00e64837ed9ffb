#include "common/win32_ui_win.h"

// The common dialogs need windows.h first.
#include <commdlg.h>

namespace common::win32 {

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

int StyledMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT buttons,
                     MessageStyle style) {
  const UINT icon = style.icon == MessageStyle::Icon::kError ? MB_ICONERROR : 0;
  return MessageBoxA(owner, std::string(text).c_str(), std::string(caption).c_str(),
                     buttons | icon);
}

namespace {

// GetOpenFileNameA or GetSaveFileNameA over a MAX_PATH buffer holding `name`.
FileChoice RunFileDialog(const FileDialogSettings& settings, std::string& name) {
  char path[MAX_PATH] = {};
  name.copy(path, MAX_PATH - 1);
  const std::string title(settings.title), filter(settings.filter),
      extension(settings.default_extension), folder(settings.initial_folder);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = settings.owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | settings.flags;
  if (settings.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) {
    name = path;
    return FileChoice::kChosen;
  }
  return CommDlgExtendedError() == 0 ? FileChoice::kCancelled : FileChoice::kFailed;
}

void ReportFailure(const FileDialogSettings& settings) {
  char text[96];
  wsprintfA(text, "The file dialog could not be opened (error %04lX).",
            static_cast<unsigned long>(CommDlgExtendedError()));
  StyledMessageBox(settings.owner, text, settings.title, MB_OK,
                   {MessageStyle::Owner::kMainWindow, MessageStyle::Icon::kError});
}

}  // namespace

FileChoice ChooseFile(const FileDialogSettings& settings, std::string& name) {
  FileChoice choice = RunFileDialog(settings, name);
  if (choice == FileChoice::kFailed && !name.empty()) {
    std::string fresh;
    choice = RunFileDialog(settings, fresh);
    if (choice == FileChoice::kChosen) name = fresh;
  }
  if (choice == FileChoice::kFailed) ReportFailure(settings);
  return choice;
}

}  // namespace common::win32
