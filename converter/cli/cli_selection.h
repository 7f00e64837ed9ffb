// How the command line names panels and buttons: a panel by its 8-digit
// offset as `velmora-cli list` prints it or by its exact name (first match); a
// button by its 8-digit offset or as "PANEL/label".
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "common/messages.h"
#include "converter/ui/form_state.h"

namespace velmora::cli {

// Index of the PanelList entry (never a heading) that `panel` names.
std::optional<size_t> FindPanelEntry(const FormState& form, std::string_view panel);

// Makes `index` the only selected entry of `list`.
void SelectOnly(ListBoxState& list, size_t index);

// Clicks the panel at `index` of PanelList, which lists its buttons in ButtonList.
void ShowPanelButtons(FormState& form, size_t index, common::Messages& messages);

// Lists the panel of `button` in ButtonList, as clicking that panel does, and
// returns the index of the button's entry there. An 8-digit offset is looked
// for in the panels in PanelList order.
std::optional<size_t> FindButtonEntry(FormState& form, std::string_view button,
                                      common::Messages& messages);

}  // namespace velmora::cli
