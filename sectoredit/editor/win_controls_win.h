// The editor core's small interfaces over Win32: edit and static controls as
// TextPanes, message boxes with their owner and icon, and tasks posted to the
// main window from the search thread.
#pragma once

#include <windows.h>

#include "common/messages.h"
#include "sectoredit/editor/text_pane.h"
#include "sectoredit/editor/ui_post.h"

namespace sectoredit {

// A control's text; the selection and caret of an edit control.
class ControlPane : public TextPane {
 public:
  void Attach(HWND control) { control_ = control; }
  HWND control() const { return control_; }

  uint32_t Caret() const override;
  void Select(uint32_t anchor, uint32_t active) override;
  void ReplaceSelection(std::string_view text) override;
  void SetText(std::string_view text) override;
  std::string Text() const override;
  void Focus() override;

 private:
  HWND control_ = nullptr;
};

// Message boxes owned by the main window, or by the dialog running the
// current command while a DialogOwner for it lives.
class WindowMessages : public common::Messages {
 public:
  void SetMainWindow(HWND window) { main_ = window; }
  void Show(std::string_view text, std::string_view caption) override;
  bool Ask(std::string_view text, std::string_view caption) override;
  void ShowStyled(std::string_view text, std::string_view caption,
                  common::MessageStyle style) override;
  bool AskStyled(std::string_view text, std::string_view caption,
                 common::MessageStyle style) override;

 private:
  friend class DialogOwner;
  int Box(std::string_view text, std::string_view caption, common::MessageStyle style,
          UINT buttons);

  HWND main_ = nullptr;
  HWND dialog_ = nullptr;
};

// Makes `dialog` the owner of the boxes its command shows, for its lifetime.
class DialogOwner {
 public:
  DialogOwner(WindowMessages& messages, HWND dialog)
      : messages_(messages), before_(messages.dialog_) {
    messages_.dialog_ = dialog;
  }
  ~DialogOwner() { messages_.dialog_ = before_; }
  DialogOwner(const DialogOwner&) = delete;
  DialogOwner& operator=(const DialogOwner&) = delete;

 private:
  WindowMessages& messages_;
  HWND before_;
};

// Posts each task to the main window as kRunTaskMessage; the window runs it.
inline constexpr UINT kRunTaskMessage = WM_APP + 1;

class WindowPost : public UiPost {
 public:
  void SetWindow(HWND window) { window_ = window; }
  bool Post(std::function<void()> task) override;
  // Runs the task a kRunTaskMessage carries.
  static void Run(LPARAM task);

 private:
  HWND window_ = nullptr;
};

}  // namespace sectoredit
