#include "converter/ui/form_state.h"

namespace velmora {

void ListBoxState::Add(std::string item) {
  if (counts_) ++(*counts_)[item];
  items_.push_back(std::move(item));
}

void ListBoxState::Assign(std::vector<std::string> items) {
  items_ = std::move(items);
  counts_.reset();
  selected_.clear();
}

void ListBoxState::Clear() { Assign({}); }

bool ListBoxState::Contains(const std::string& item) const {
  if (!counts_) {
    counts_.emplace();
    for (const std::string& entry : items_) ++(*counts_)[entry];
  }
  return counts_->count(item) != 0;
}

void ListBoxState::Delete(size_t index) {
  if (index >= items_.size()) return;
  if (counts_) {
    auto counted = counts_->find(items_[index]);
    if (--counted->second == 0) counts_->erase(counted);
  }
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
