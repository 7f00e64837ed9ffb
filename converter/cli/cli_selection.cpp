#include "converter/cli/cli_selection.h"

#include <cctype>
#include <string>
#include <vector>

#include "converter/ui/form_handlers.h"

namespace velmora::cli {
namespace {

constexpr size_t kOffsetDigits = 8;

// The upper-case digits when `text` is exactly 8 hexadecimal digits.
std::optional<std::string> OffsetDigits(std::string_view text) {
  if (text.size() != kOffsetDigits) return std::nullopt;
  std::string digits;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return digits;
}

// The first entry of `list` whose offset is `digits` or, without digits, whose
// name is `name`.
std::optional<size_t> FindEntry(const ListBoxState& list, std::string_view name,
                                const std::optional<std::string>& digits) {
  for (size_t i = 0; i < list.size(); ++i) {
    std::string_view entry = list[i];
    if (IsChainHeading(entry)) continue;
    bool match = digits ? entry.substr(0, kOffsetDigits) == *digits : ListEntryName(entry) == name;
    if (match) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<size_t> FindPanelEntry(const FormState& form, std::string_view panel) {
  std::optional<std::string> digits = OffsetDigits(panel);
  if (auto found = FindEntry(form.panelList, panel, digits)) return found;
  // Eight hexadecimal digits may also be a panel's name.
  if (digits) return FindEntry(form.panelList, panel, std::nullopt);
  return std::nullopt;
}

void SelectOnly(ListBoxState& list, size_t index) {
  for (size_t i = 0; i < list.size(); ++i) list.Select(i, i == index);
}

void ShowPanelButtons(FormState& form, size_t index, common::Messages& messages) {
  SelectOnly(form.panelList, index);
  ListSelectedPanelButtons(form, messages);
}

std::optional<size_t> ButtonFinder::Find(std::string_view button) {
  std::optional<std::string> digits = OffsetDigits(button);
  return digits ? FindByOffset(*digits) : FindByName(button);
}

std::optional<size_t> ButtonFinder::FindByOffset(const std::string& digits) {
  auto known = firstPlaceOf_.find(digits);
  while (known == firstPlaceOf_.end() && scanned_ < form_.panelList.size()) {
    size_t panel = scanned_++;
    if (IsChainHeading(form_.panelList[panel])) continue;
    Show(panel);
    const std::vector<std::string>& entries = form_.buttonList.items();
    for (size_t i = 0; i < entries.size(); ++i) {
      firstPlaceOf_.try_emplace(entries[i].substr(0, kOffsetDigits), ButtonPlace{panel, i});
    }
    known = firstPlaceOf_.find(digits);
  }
  if (known == firstPlaceOf_.end()) return std::nullopt;
  Show(known->second.panel);
  return known->second.entry;
}

std::optional<size_t> ButtonFinder::FindByName(std::string_view button) {
  // Panel names may contain "/": try every split, leftmost first.
  for (size_t slash = button.find('/'); slash != std::string_view::npos;
       slash = button.find('/', slash + 1)) {
    std::optional<size_t> panel = FindPanelEntry(form_, button.substr(0, slash));
    if (!panel) continue;
    Show(*panel);
    if (auto found = FindEntry(form_.buttonList, button.substr(slash + 1), std::nullopt)) {
      return found;
    }
  }
  return std::nullopt;
}

void ButtonFinder::Show(size_t panel) {
  if (shownPanel_ == panel) return;
  if (beforeListing_) beforeListing_();
  ShowPanelButtons(form_, panel, messages_);
  shownPanel_ = panel;
}

std::optional<size_t> FindButtonEntry(FormState& form, std::string_view button,
                                      common::Messages& messages) {
  return ButtonFinder(form, messages).Find(button);
}

bool UnfiledSelection::Add(std::string_view button) {
  std::optional<size_t> index = finder_.Find(button);
  if (!index) return false;
  // A button before the last selected one, or the same again, starts a new click.
  if (lastSelected_ && *index <= *lastSelected_) Click();
  form_.buttonList.Select(*index);
  lastSelected_ = index;
  return true;
}

void UnfiledSelection::Click() {
  if (!lastSelected_) return;
  ButtonAddBtnClick(form_);
  form_.buttonList.SelectNone();
  lastSelected_.reset();
}

}  // namespace velmora::cli
