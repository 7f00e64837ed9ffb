// How the command line names panels and buttons: a panel by its 8-digit
// offset as `velmora-cli list` prints it or by its exact name (first match); a
// button by its 8-digit offset or as "PANEL/label".
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/messages.h"
#include "converter/ui/form_state.h"

namespace velmora::cli {

// Index of the PanelList entry (never a heading) that `panel` names.
std::optional<size_t> FindPanelEntry(const FormState& form, std::string_view panel);

// Makes `index` the only selected entry of `list`.
void SelectOnly(ListBoxState& list, size_t index);

// Selects the panel at `index` of PanelList and lists its buttons in
// ButtonList as a click does, without drawing the preview.
void ShowPanelButtons(FormState& form, size_t index, common::Messages& messages);

// Finds buttons as the command line names them: an 8-digit offset, looked
// for in the panels in PanelList order, or PANEL/label. The panel of the
// button is listed in ButtonList (ShowPanelButtons), but only when ButtonList
// does not list it already, so that looking up many buttons stays linear.
class ButtonFinder {
 public:
  // `beforeListing` runs before ButtonList is listed anew.
  ButtonFinder(FormState& form, common::Messages& messages,
               std::function<void()> beforeListing = {})
      : form_(form), messages_(messages), beforeListing_(std::move(beforeListing)) {}

  // The index of the button's entry in ButtonList; nullopt when it names no button.
  std::optional<size_t> Find(std::string_view button);

 private:
  std::optional<size_t> FindByOffset(const std::string& digits);
  std::optional<size_t> FindByName(std::string_view button);
  // Lists `panel` in ButtonList unless it is listed already.
  void Show(size_t panel);

  FormState& form_;
  common::Messages& messages_;
  std::function<void()> beforeListing_;
  std::optional<size_t> shownPanel_;
  // Where each button is first listed, for the panels before scanned_.
  struct ButtonPlace {
    size_t panel;  // in PanelList
    size_t entry;  // in that panel's ButtonList
  };
  std::unordered_map<std::string, ButtonPlace> firstPlaceOf_;
  size_t scanned_ = 0;
};

// Lists the panel of `button` in ButtonList and returns the index of the
// button's entry there (ButtonFinder).
std::optional<size_t> FindButtonEntry(FormState& form, std::string_view button,
                                      common::Messages& messages);

// Adds the buttons that --unfiled names to UnfiledList as a user would: a run
// of buttons of the listed panel, in its list order, is one selection and one
// click of the lower "->". The list is the same as adding the buttons one at
// a time.
class UnfiledSelection {
 public:
  UnfiledSelection(FormState& form, common::Messages& messages)
      : form_(form), finder_(form, messages, [this] { Click(); }) {}
  UnfiledSelection(const UnfiledSelection&) = delete;
  UnfiledSelection& operator=(const UnfiledSelection&) = delete;

  // Selects the entry of `button`; false when it names no button.
  bool Add(std::string_view button);
  // Clicks "->" for the buttons selected since the last click.
  void Click();

 private:
  FormState& form_;
  ButtonFinder finder_;
  std::optional<size_t> lastSelected_;  // in ButtonList, since the last click
};

}  // namespace velmora::cli
