// Small Win32 helpers both windows share: a window's text, message boxes
// whose icon follows the message's style, and the common Open and Save
// dialogs with a cancelled dialog told apart from one that failed.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/messages.h"

namespace common::win32 {

// The text of a window or control.
std::string WindowText(HWND window);

// MessageBoxA with `buttons`, and the error icon when the style asks for it.
int StyledMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT buttons,
                     MessageStyle style);

struct FileDialogSettings {
  HWND owner = nullptr;
  std::string_view title;
  std::string_view filter;             // pairs of description and pattern, each ended by a zero
  std::string_view default_extension;  // without its dot
  std::string_view initial_folder;     // empty: the system's choice
  DWORD flags = 0;                     // OFN_* beyond OFN_HIDEREADONLY
  bool save = false;
};

enum class FileChoice { kChosen, kCancelled, kFailed };

// Shows the dialog preset with `name` (a MAX_PATH buffer); on kChosen `name`
// holds the choice. A preset name the dialog refuses is dropped and the
// dialog shown again empty; when it still cannot run, a box titled as the
// dialog says so with the dialog's error code, and the result is kFailed.
FileChoice ChooseFile(const FileDialogSettings& settings, std::string& name);

}  // namespace common::win32
