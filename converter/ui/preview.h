// The panel preview: a CCF panel drawn onto a Canvas as the Palm screen will
// show it, the hard-key markers, and the image of a single button. Every
// position and size passes through the LayoutTransform; bitmaps are drawn by
// DrawCcfBitmap. Everything is re-read from the file at every redraw.
#pragma once

#include <cstdint>

#include "converter/ccf/canvas.h"
#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ccf/ccf_walk.h"
#include "converter/ccf/layout_transform.h"

namespace velmora {

inline constexpr Rgb kHardKeyMarkerGrey{128, 128, 128};
// The preview is cleared over this square, whatever the image's size.
inline constexpr int kPreviewClearSide = 320;

// What a panel drawing depends on besides the file.
struct PreviewStyle {
  CcfFormat format;
  LayoutTransform layout;
  bool activeButtons = true;  // ActiveButtonsCheck: which bitmap and colour set
  bool hardKeys = true;       // HKCheck: draw the hard-key markers
};

// One item of a panel walk: a button's bitmap of the active set or, without
// one, its background colour over its mapped corners; a frame's bitmap (a
// frame has no fill of its own).
void DrawPanelItem(CcfReader& reader, const PanelItemVisit& item, const PreviewStyle& style,
                   Canvas& canvas, CompressedBitmapNote& note);

// The seven (nine with colourFormat) grey hard-key markers of the column at
// the right edge of the canvas, sized by the canvas.
void DrawHardKeyMarkers(Canvas& canvas, const CcfFormat& format);

// Clears (0, 0)-(320, 320) to white, draws the items of `panel` (0: none) in
// walk order and then, when included, the hard-key markers. Returns the
// ButtonList entries of the buttons drawn, in walk order.
std::vector<std::string> DrawPanel(CcfReader& reader, uint32_t panel, const PreviewStyle& style,
                                   Canvas& canvas, CompressedBitmapNote& note);

// Clears the canvas to white and draws the button's unselected (or, when
// `pressed`, selected) bitmap of the active set at the top left corner,
// scaled but without offsets. A button of 0, or without that bitmap, leaves
// the canvas white.
void DrawButtonImage(CcfReader& reader, uint32_t button, bool pressed, bool activeButtons,
                     const LayoutTransform& layout, Canvas& canvas, CompressedBitmapNote& note);

}  // namespace velmora
