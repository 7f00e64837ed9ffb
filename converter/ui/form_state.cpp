#include "converter/ui/form_state.h"

namespace velmora {

void ListBoxState::Add(std::string item) {
  ++counts_[item];
  items_.push_back(std::move(item));
}

void ListBoxState::Clear() {
  items_.clear();
  counts_.clear();
  selected_.clear();
}

void ListBoxState::Delete(size_t index) {
  if (index >= items_.size()) return;
  auto counted = counts_.find(items_[index]);
  if (--counted->second == 0) counts_.erase(counted);
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  std::set<size_t> kept;
  for (size_t selected : selected_) {
    if (selected != index) kept.insert(selected > index ? selected - 1 : selected);
  }
  selected_ = std::move(kept);
}

void ListBoxState::Select(size_t index, bool selected) {
  if (index >= items_.size()) return;
  if (selected) {
    selected_.insert(index);
  } else {
    selected_.erase(index);
  }
}

std::optional<size_t> ListBoxState::FirstSelected() const {
  if (selected_.empty()) return std::nullopt;
  return *selected_.begin();
}

}  // namespace velmora
