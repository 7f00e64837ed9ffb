#include "common/messages.h"

#include <ostream>

namespace common {

std::string FormatMessageLine(std::string_view text, std::string_view caption) {
  std::string line(caption);
  line += ": ";
  line += text;
  return line;
}

void RecordedMessages::Show(std::string_view text, std::string_view caption) {
  ShowStyled(text, caption, {});
}

bool RecordedMessages::Ask(std::string_view text, std::string_view caption) {
  return AskStyled(text, caption, {});
}

void RecordedMessages::ShowStyled(std::string_view text, std::string_view caption,
                                  MessageStyle style) {
  entries_.push_back({std::string(text), std::string(caption), false, style});
}

bool RecordedMessages::AskStyled(std::string_view text, std::string_view caption,
                                 MessageStyle style) {
  entries_.push_back({std::string(text), std::string(caption), true, style});
  if (answers_.empty()) return false;
  bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

std::vector<std::string> RecordedMessages::Lines() const {
  std::vector<std::string> lines;
  for (const Entry& e : entries_) lines.push_back(FormatMessageLine(e.text, e.caption));
  return lines;
}

void StreamMessages::Show(std::string_view text, std::string_view caption) {
  ++count_;
  out_ << FormatMessageLine(text, caption) << '\n' << std::flush;
}

bool StreamMessages::Ask(std::string_view text, std::string_view caption) {
  Show(text, caption);
  return answer_;
}

}  // namespace common
