#include "sectoredit/editor/win_controls_win.h"

#include <memory>
#include <string>

#include "common/win32_ui_win.h"

namespace sectoredit {

uint32_t ControlPane::Caret() const { return LOWORD(SendMessageA(control_, EM_GETSEL, 0, 0)); }

void ControlPane::Select(uint32_t anchor, uint32_t active) {
  SendMessageA(control_, EM_SETSEL, anchor, active);
}

void ControlPane::ReplaceSelection(std::string_view text) {
  const std::string copy(text);
  SendMessageA(control_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(copy.c_str()));
}

void ControlPane::SetText(std::string_view text) {
  const std::string copy(text);
  SendMessageA(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

std::string ControlPane::Text() const { return common::win32::WindowText(control_); }

void ControlPane::Focus() { SetFocus(control_); }

void WindowMessages::Show(std::string_view text, std::string_view caption) {
  ShowStyled(text, caption, {});
}

bool WindowMessages::Ask(std::string_view text, std::string_view caption) {
  return AskStyled(text, caption, {});
}

void WindowMessages::ShowStyled(std::string_view text, std::string_view caption,
                                common::MessageStyle style) {
  Box(text, caption, style, MB_OK);
}

bool WindowMessages::AskStyled(std::string_view text, std::string_view caption,
                               common::MessageStyle style) {
  return Box(text, caption, style, MB_YESNO) == IDYES;
}

int WindowMessages::Box(std::string_view text, std::string_view caption, common::MessageStyle style,
                        UINT buttons) {
  const bool by_dialog = style.owner == common::MessageStyle::Owner::kDialog && dialog_;
  return common::win32::StyledMessageBox(by_dialog ? dialog_ : main_, text, caption, buttons, style);
}

bool WindowPost::Post(std::function<void()> task) {
  auto owned = std::make_unique<std::function<void()>>(std::move(task));
  if (!PostMessageA(window_, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(owned.get()))) {
    return false;
  }
  owned.release();  // the window's queue owns it now
  return true;
}

void WindowPost::Run(LPARAM task) {
  const std::unique_ptr<std::function<void()>> owned(
      reinterpret_cast<std::function<void()>*>(task));
  (*owned)();
}

}  // namespace sectoredit
