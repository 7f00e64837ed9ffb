#include "converter/cli/cli_selection.h"

#include <cctype>
#include <string>

#include "converter/ui/form_handlers.h"

namespace velmora::cli {
namespace {

constexpr size_t kOffsetDigits = 8;
constexpr size_t kNameStart = kOffsetDigits + 3;  // after "OOOOOOOO - "

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

std::string_view NamePart(std::string_view entry) {
  return entry.size() >= kNameStart ? entry.substr(kNameStart) : std::string_view();
}

// The first entry of `list` whose offset is `digits` or, without digits, whose
// name is `name`.
std::optional<size_t> FindEntry(const ListBoxState& list, std::string_view name,
                                const std::optional<std::string>& digits) {
  for (size_t i = 0; i < list.size(); ++i) {
    std::string_view entry = list[i];
    if (entry.empty() || entry[0] == '-') continue;
    bool match = digits ? entry.substr(0, kOffsetDigits) == *digits : NamePart(entry) == name;
    if (match) return i;
  }
  return std::nullopt;
}

std::optional<size_t> FindButtonByOffset(FormState& form, const std::string& digits,
                                         common::Messages& messages) {
  for (size_t panel = 0; panel < form.panelList.size(); ++panel) {
    if (form.panelList[panel].empty() || form.panelList[panel][0] == '-') continue;
    ShowPanelButtons(form, panel, messages);
    if (auto found = FindEntry(form.buttonList, "", digits)) return found;
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
  NoPreviewDrawer drawer;
  DrawSelectedPanel(form, drawer, messages);
}

std::optional<size_t> FindButtonEntry(FormState& form, std::string_view button,
                                      common::Messages& messages) {
  if (std::optional<std::string> digits = OffsetDigits(button)) {
    return FindButtonByOffset(form, *digits, messages);
  }
  // Panel names may contain "/": try every split, leftmost first.
  for (size_t slash = button.find('/'); slash != std::string_view::npos;
       slash = button.find('/', slash + 1)) {
    std::optional<size_t> panel = FindPanelEntry(form, button.substr(0, slash));
    if (!panel) continue;
    ShowPanelButtons(form, *panel, messages);
    if (auto found = FindEntry(form.buttonList, button.substr(slash + 1), std::nullopt)) {
      return found;
    }
  }
  return std::nullopt;
}

}  // namespace velmora::cli
