#include "converter/ui/window_dialogs_win.h"

#include <commdlg.h>

#include <string>

#include "common/win32_ui_win.h"

#include "converter/ui/layout_fields.h"

namespace velmora {

void WindowMessages::Show(std::string_view text, std::string_view caption) {
  ShowStyled(text, caption, {});
}

bool WindowMessages::Ask(std::string_view text, std::string_view caption) {
  return AskStyled(text, caption, {});
}

void WindowMessages::ShowStyled(std::string_view text, std::string_view caption,
                                common::MessageStyle style) {
  common::win32::StyledMessageBox(owner_, text, caption, MB_OK, style);
}

bool WindowMessages::AskStyled(std::string_view text, std::string_view caption,
                               common::MessageStyle style) {
  return common::win32::StyledMessageBox(owner_, text, caption, MB_YESNO | MB_ICONQUESTION,
                                         style) == IDYES;
}

std::optional<std::string> CommonFileDialog::Run(std::string_view fileName) {
  // "Text|pattern|..." becomes the dialog's list of NUL-terminated strings.
  std::string filter = look_.filter;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.push_back('\0');
  common::win32::FileDialogSettings settings;
  settings.owner = owner_;
  settings.title = look_.title;
  settings.filter = filter;
  // The dialog wants the extension without its dot.
  settings.default_extension =
      look_.defaultExtension[0] == '.' ? look_.defaultExtension + 1 : look_.defaultExtension;
  settings.initial_folder = folder_;
  settings.flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ENABLESIZING |
               (kind_ == Kind::kOpen ? OFN_FILEMUSTEXIST : 0);
  settings.save = kind_ == Kind::kSave;
  std::string name(fileName);
  if (common::win32::ChooseFile(settings, name) != common::win32::FileChoice::kChosen) {
    return std::nullopt;
  }
  return name;
}

char LocaleDecimalSeparator() {
  char separator[4] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator)) < 2) {
    return '.';
  }
  return separator[0];
}

}  // namespace velmora
