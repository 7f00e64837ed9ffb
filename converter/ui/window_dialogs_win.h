// The converter window's modal boxes and common file dialogs: the Win32 side
// of the message and file-dialog interfaces that the handlers use.
#pragma once

#include <windows.h>

#include "common/messages.h"
#include "converter/ui/file_dialogs.h"

namespace velmora {

// MessageBoxA owned by the main window, with the icon the message's style asks for.
class WindowMessages : public common::Messages {
 public:
  explicit WindowMessages(HWND owner) : owner_(owner) {}
  void Show(std::string_view text, std::string_view caption) override;
  bool Ask(std::string_view text, std::string_view caption) override;
  void ShowStyled(std::string_view text, std::string_view caption,
                  common::MessageStyle style) override;
  bool AskStyled(std::string_view text, std::string_view caption,
                 common::MessageStyle style) override;

 private:
  HWND owner_;
};

// The common Open or Save dialog with the look the core gives it, starting
// in `folder`; the Save dialog never asks before replacing a file.
class CommonFileDialog : public FileDialog {
 public:
  enum class Kind { kOpen, kSave };
  CommonFileDialog(HWND owner, Kind kind, const FileDialogLook& look, std::string folder)
      : owner_(owner), kind_(kind), look_(look), folder_(std::move(folder)) {}
  std::optional<std::string> Run(std::string_view fileName) override;

 private:
  HWND owner_;
  Kind kind_;
  FileDialogLook look_;
  std::string folder_;
};

// The decimal separator of the user's locale.
char LocaleDecimalSeparator();

}  // namespace velmora
