#include "sectoredit/editor/text_pane.h"

#include <algorithm>

namespace sectoredit {

void MemoryPane::Select(uint32_t anchor, uint32_t active) {
  const uint32_t length = static_cast<uint32_t>(text_.size());
  anchor = std::min(anchor, length);
  active = std::min(active, length);
  start_ = std::min(anchor, active);
  end_ = std::max(anchor, active);
}

void MemoryPane::ReplaceSelection(std::string_view text) {
  text_.replace(start_, end_ - start_, text);
  start_ = end_ = start_ + static_cast<uint32_t>(text.size());
}

void MemoryPane::SetText(std::string_view text) {
  text_.assign(text);
  start_ = end_ = 0;
}

void MemoryPane::Focus() {
  if (focus_) *focus_ = this;
}

}  // namespace sectoredit
