#include "converter/ui/preview.h"

#include "converter/ccf/palettes.h"
#include "converter/output/panel_walk.h"

namespace velmora {

namespace {

// Draws each item and collects the ButtonList entries of the buttons.
class PreviewPainter : public PanelVisitor {
 public:
  PreviewPainter(CcfReader& reader, const PreviewStyle& style, Canvas& canvas,
                 CompressedBitmapNote& note)
      : reader_(reader), style_(style), canvas_(canvas), note_(note) {}

  void Button(const PanelItemVisit& item) override {
    entries_.push_back(ButtonListEntry(reader_, item.object));
    DrawPanelItem(reader_, item, style_, canvas_, note_);
  }
  void Frame(const PanelItemVisit& item) override {
    DrawPanelItem(reader_, item, style_, canvas_, note_);
  }

  std::vector<std::string> Take() { return std::move(entries_); }

 private:
  CcfReader& reader_;
  const PreviewStyle& style_;
  Canvas& canvas_;
  CompressedBitmapNote& note_;
  std::vector<std::string> entries_;
};

// A button without a bitmap: its background colour over its two mapped
// corners, each mapped by itself.
void FillButtonBackground(CcfReader& reader, const PanelItemVisit& item, const PreviewStyle& style,
                          Canvas& canvas) {
  int32_t width = reader.ReadU16(item.object);
  int32_t height = reader.ReadU16(uint64_t{item.object} + 2);
  uint32_t colour = ReadButtonColour(reader, item.object, style.activeButtons, style.format);
  TargetPoint from = MapPoint(style.layout, item.x, item.y, MapTarget::kPreview);
  TargetPoint to = MapPoint(style.layout, item.x + width, item.y + height, MapTarget::kPreview);
  canvas.FillRect(from.x, from.y, to.x, to.y, CcfColourToRgb(colour, style.format.colourFormat));
}

}  // namespace

void DrawPanelItem(CcfReader& reader, const PanelItemVisit& item, const PreviewStyle& style,
                   Canvas& canvas, CompressedBitmapNote& note) {
  uint64_t bitmapField =
      item.isButton ? ButtonBitmapField(style.activeButtons, false) : kFrameBitmapField;
  uint32_t bitmap = reader.ReadU32(item.object + bitmapField);
  if (item.isButton && bitmap == 0) {
    FillButtonBackground(reader, item, style, canvas);
    return;
  }
  DrawCcfBitmap(reader, bitmap, item.x, item.y, canvas, style.layout, style.layout.offsetX,
                style.layout.offsetY, note);
}

void DrawHardKeyMarkers(Canvas& canvas, const CcfFormat& format) {
  HardKeyGeometry column =
      HardKeyColumn(canvas.width(), canvas.height(), format.colourFormat, MapTarget::kPreview);
  for (int key = 0; key < column.count; ++key) {
    int16_t top = column.tops[static_cast<size_t>(key)];
    canvas.FillRect(column.left, top, column.left + column.width, top + column.height,
                    kHardKeyMarkerGrey);
  }
}

std::vector<std::string> DrawPanel(CcfReader& reader, uint32_t panel, const PreviewStyle& style,
                                   Canvas& canvas, CompressedBitmapNote& note) {
  canvas.FillRect(0, 0, kPreviewClearSide, kPreviewClearSide, kWhite);
  PreviewPainter painter(reader, style, canvas, note);
  VisitPanel(reader, panel, style.format, painter);
  if (style.hardKeys) DrawHardKeyMarkers(canvas, style.format);
  return painter.Take();
}

void DrawButtonImage(CcfReader& reader, uint32_t button, bool pressed, bool activeButtons,
                     const LayoutTransform& layout, Canvas& canvas, CompressedBitmapNote& note) {
  canvas.FillRect(0, 0, kPreviewClearSide, kPreviewClearSide, kWhite);
  if (button == 0) return;
  uint32_t bitmap = reader.ReadU32(button + ButtonBitmapField(activeButtons, pressed));
  DrawCcfBitmap(reader, bitmap, 0, 0, canvas, layout, 0, 0, note);
}

}  // namespace velmora
