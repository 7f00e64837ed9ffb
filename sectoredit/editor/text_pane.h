// The editor's text controls (the two panes, the status line, dialog fields)
// behind one small interface, so the caret arithmetic runs the same against a
// Win32 edit control and against the in-memory pane used by tests and the CLI.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sectoredit {

class TextPane {
 public:
  virtual ~TextPane() = default;
  // The caret is the start of the current selection.
  virtual uint32_t Caret() const = 0;
  // Selects anchor..active (either order); positions past the end clamp to it.
  virtual void Select(uint32_t anchor, uint32_t active) = 0;
  // Replaces the selection; the caret ends after the inserted text.
  virtual void ReplaceSelection(std::string_view text) = 0;
  // Replaces the whole text; the caret goes to the start.
  virtual void SetText(std::string_view text) = 0;
  virtual std::string Text() const = 0;
  virtual void Focus() = 0;
};

// An edit control held in memory, with the selection rules of a Win32 edit.
class MemoryPane : public TextPane {
 public:
  // `focus`, when given, is shared by the panes of one window: Focus() points
  // it at the pane that has the keyboard.
  explicit MemoryPane(const TextPane** focus = nullptr) : focus_(focus) {}

  uint32_t Caret() const override { return start_; }
  void Select(uint32_t anchor, uint32_t active) override;
  void ReplaceSelection(std::string_view text) override;
  void SetText(std::string_view text) override;
  std::string Text() const override { return text_; }
  void Focus() override;

  uint32_t SelectionEnd() const { return end_; }

 private:
  std::string text_;
  uint32_t start_ = 0;
  uint32_t end_ = 0;
  const TextPane** focus_;
};

}  // namespace sectoredit
