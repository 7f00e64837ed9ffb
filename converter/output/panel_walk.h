// The walks over one panel's items that the preview and the generator share:
// the listing walk that fills ButtonList, and the counting walk that counts a
// panel's items and registers their bitmaps in IconList. Both run on the
// shared panel item walk, so a generation writes exactly the items it counted
// and the preview lists exactly the buttons it draws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ccf/ccf_walk.h"
#include "converter/output/icon_list.h"

namespace velmora {

// Which of a button's bitmaps a walk uses: the active set or the inactive one
// (ActiveButtonsCheck), and whether selected bitmaps are included
// (ClickedButtonsCheck).
struct ButtonBitmapChoice {
  bool active = true;
  bool pressed = true;
};

// Registers a button's unselected bitmap of the chosen set and, when pressed
// bitmaps are included, its selected bitmap paired with the unselected one.
void RegisterButtonIcons(CcfReader& reader, uint32_t button, const ButtonBitmapChoice& choice,
                         IconList& icons);

// Receives the items of one panel in walk order (depth first, each frame
// before its children). Counting, listing, record writing and drawing are
// visitors of the same walk.
class PanelVisitor {
 public:
  virtual ~PanelVisitor() = default;
  virtual void Button(const PanelItemVisit& item) = 0;
  virtual void Frame(const PanelItemVisit& item) = 0;
};

// Walks the panel at `panel` (0: nothing) and returns the number of items visited.
size_t VisitPanel(CcfReader& reader, uint32_t panel, const CcfFormat& format,
                  PanelVisitor& visitor);

// The number of items of the panel, frame children at every depth included,
// registering their bitmaps: a button's as RegisterButtonIcons, a frame's own
// bitmap alone. 32 bits wide: a damaged file may hold more than 65535.
uint32_t CountPanelItems(CcfReader& reader, uint32_t panel, const CcfFormat& format,
                         const ButtonBitmapChoice& choice, IconList& icons);

// The ButtonList entries of the panel, in walk order: "OOOOOOOO - label" per
// button (a button placed twice gives two entries).
std::vector<std::string> ListPanelButtons(CcfReader& reader, uint32_t panel,
                                          const CcfFormat& format);

// The ButtonList entry of one button.
std::string ButtonListEntry(CcfReader& reader, uint32_t button);

}  // namespace velmora
