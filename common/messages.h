// The message interface shared by both programs' cores: the window shows modal
// message boxes, the command line prints "CAPTION: TEXT" lines, tests record.
#pragma once

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// How a window presents a message; faces without windows ignore it.
struct MessageStyle {
  // kDialog: the dialog that runs the command owns the box, else the main window.
  enum class Owner : uint8_t { kMainWindow, kDialog } owner = Owner::kMainWindow;
  enum class Icon : uint8_t { kNone, kError } icon = Icon::kNone;
  bool operator==(const MessageStyle&) const = default;
};

inline constexpr MessageStyle kOwnedByDialog{MessageStyle::Owner::kDialog};

class Messages {
 public:
  virtual ~Messages() = default;
  // A modal box with an OK button.
  virtual void Show(std::string_view text, std::string_view caption) = 0;
  // A modal box with Yes and No buttons; true means Yes.
  virtual bool Ask(std::string_view text, std::string_view caption) = 0;
  // The same boxes with an owner and icon; a face without windows shows them plainly.
  virtual void ShowStyled(std::string_view text, std::string_view caption, MessageStyle) {
    Show(text, caption);
  }
  virtual bool AskStyled(std::string_view text, std::string_view caption, MessageStyle) {
    return Ask(text, caption);
  }
};

// Records every message; questions are answered from a queue (No when empty).
class RecordedMessages : public Messages {
 public:
  struct Entry {
    std::string text;
    std::string caption;
    bool question = false;
    MessageStyle style{};
    bool operator==(const Entry&) const = default;
  };

  void Show(std::string_view text, std::string_view caption) override;
  bool Ask(std::string_view text, std::string_view caption) override;
  void ShowStyled(std::string_view text, std::string_view caption, MessageStyle style) override;
  bool AskStyled(std::string_view text, std::string_view caption, MessageStyle style) override;

  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  const std::vector<Entry>& entries() const { return entries_; }
  // Each entry as one "CAPTION: TEXT" line, the form the command line prints.
  std::vector<std::string> Lines() const;
  void Clear() { entries_.clear(); }

 private:
  std::vector<Entry> entries_;
  std::deque<bool> answers_;
};

// Prints "CAPTION: TEXT" to a stream (stderr in the command-line programs);
// questions get a fixed answer chosen by the caller's flags.
class StreamMessages : public Messages {
 public:
  StreamMessages(std::ostream& out, bool answer) : out_(out), answer_(answer) {}
  void Show(std::string_view text, std::string_view caption) override;
  bool Ask(std::string_view text, std::string_view caption) override;
  int count() const { return count_; }

 private:
  std::ostream& out_;
  bool answer_;
  int count_ = 0;
};

std::string FormatMessageLine(std::string_view text, std::string_view caption);

}  // namespace common
