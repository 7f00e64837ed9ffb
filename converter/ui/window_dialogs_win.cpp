#include "converter/ui/window_dialogs_win.h"

#include <commdlg.h>

#include <string>

#include "converter/ui/layout_fields.h"

namespace velmora {

void WindowMessages::Show(std::string_view text, std::string_view caption) {
  UINT icon = caption == kApplicationTitle ? MB_ICONERROR : 0;
  MessageBoxA(owner_, std::string(text).c_str(), std::string(caption).c_str(), MB_OK | icon);
}

bool WindowMessages::Ask(std::string_view text, std::string_view caption) {
  return MessageBoxA(owner_, std::string(text).c_str(), std::string(caption).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::optional<std::string> CommonFileDialog::Run(std::string_view fileName) {
  // "Text|pattern|..." becomes the dialog's list of NUL-terminated strings.
  std::string filter = look_.filter;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.push_back('\0');
  char path[MAX_PATH] = {};
  fileName.copy(path, MAX_PATH - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder_.empty() ? nullptr : folder_.c_str();
  dialog.lpstrTitle = look_.title;
  // The dialog wants the extension without its dot.
  dialog.lpstrDefExt =
      look_.defaultExtension[0] == '.' ? look_.defaultExtension + 1 : look_.defaultExtension;
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;
  bool chosen;
  if (kind_ == Kind::kOpen) {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameA(&dialog);
  } else {
    chosen = GetSaveFileNameA(&dialog);
  }
  if (!chosen) return std::nullopt;
  return std::string(path);
}

char LocaleDecimalSeparator() {
  char separator[4] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator)) < 2) {
    return '.';
  }
  return separator[0];
}

}  // namespace velmora
