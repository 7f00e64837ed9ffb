#include "converter/output/generation.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "converter/output/palm_bitmap.h"
#include "converter/output/pdb_writer.h"
#include "converter/output/tessaly_records.h"

namespace velmora {
namespace {

// Label capacities of the output: 14 characters when the text is carried, 13
// when only a reference label ("/" + label) is written.
constexpr size_t kCarriedLabelCapacity = 15;
constexpr size_t kReferenceLabelCapacity = 14;

struct ControlLabel {
  std::string label;  // the control record's label
  uint8_t glyph = 0;
  std::string text;  // the style record's text
};

ControlLabel MakeLabel(CcfReader& reader, uint64_t labelField, uint8_t fontSize, bool includeText,
                       bool isButton) {
  bool carried = fontSize != 0 && includeText;
  std::string label = reader.ReadCcfString(
      labelField, carried ? kCarriedLabelCapacity : kReferenceLabelCapacity, false);
  uint8_t glyph = MapSpecialGlyph(label, includeText);
  if (isButton && fontSize == 0) glyph = 0;
  if (carried && glyph == 0) return {label, 0, label};
  return {"/" + label, glyph, ""};
}

int16_t Low16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

// Position and size of a button or frame at CCF position (x, y).
ControlRecord PlaceControl(const LayoutTransform& layout, uint16_t x, uint16_t y, uint16_t width,
                           uint16_t height) {
  TargetPoint at =
      MapPoint(layout, static_cast<int16_t>(x), static_cast<int16_t>(y), MapTarget::kOutput);
  TargetSize size = MapSize(layout, width, height);
  ControlRecord control;
  control.x = Low16(at.x);
  control.y = Low16(at.y);
  control.width = Low16(size.width);
  control.height = Low16(size.height);
  return control;
}

// The style value of a button without unselected bitmap.
uint16_t ButtonStyleValueWithoutBitmap(uint8_t background, bool hasIr, bool colourFormat) {
  if (background != 0) return colourFormat ? 0xFFFE : 3;
  return hasIr ? 0 : kNoBitmapRef;
}

class Generator {
 public:
  Generator(const GenerationRequest& request, IconList& icons, GenerationRun& run,
            common::Messages& messages)
      : request_(request),
        format_(request.format),
        choice_{request.activeButtons, request.pressedButtons},
        icons_(icons),
        run_(run),
        messages_(messages),
        reader_(request.image ? *request.image : kNoImage, messages),
        writer_(messages) {}

  bool Run(const std::string& path) {
    run_.recordTotal = static_cast<uint32_t>(
        std::min<uint64_t>(CountRecords(), std::numeric_limits<uint32_t>::max()));
    if (writer_.WriteDatabaseHeader(path, DatabaseNameFromPath(path), run_.recordTotal,
                                    request_.categoryEntries) != 0) {
      return false;
    }
    Bytes& info = NewRecord();
    AppendDatabaseInfoRecord(info);
    Append(0, info);
    if (!WriteBitmaps()) return false;
    LayoutTransform unfiledLayout = request_.layout;
    unfiledLayout.offsetX = 0;
    unfiledLayout.offsetY = 0;
    for (const std::string& entry : request_.unfiledEntries) {
      if (writer_.failed()) return false;
      WriteButton(HexToOffset(entry), kUnfiledPosition, kUnfiledPosition, unfiledLayout, 0);
    }
    for (size_t k = 0; k < request_.categoryEntries.size() && !writer_.failed(); ++k) {
      uint32_t panel = HexToOffset(request_.categoryEntries[k]);
      auto category = static_cast<uint8_t>(k + 1);
      WritePanel(panel, category);
      if (request_.hardKeys) WriteHardKeys(panel, category);
    }
    return writer_.Finish();
  }

  void WriteButton(uint32_t button, uint16_t x, uint16_t y, const LayoutTransform& layout,
                   uint8_t category);
  void WriteFrame(uint32_t frame, uint16_t x, uint16_t y, const LayoutTransform& layout,
                  uint8_t category);

 private:
  uint64_t CountRecords();
  bool WriteBitmaps();
  void WritePanel(uint32_t panel, uint8_t category);
  void WriteHardKeys(uint32_t panel, uint8_t category);
  void WriteHardKey(const ControlRecord& key, uint32_t actionList, uint8_t category);
  IrBlock IrOfActions(uint32_t actionList);
  // The cleared buffer of the next record: one buffer serves every record, so
  // that building one allocates nothing once the largest has been built.
  Bytes& NewRecord() {
    record_.clear();
    return record_;
  }
  uint32_t Append(uint8_t category, const Bytes& record) {
    uint32_t uniqueId = writer_.AppendRecordEntry(category);
    writer_.AppendRecordBytes(record);
    return uniqueId;
  }

  const GenerationRequest& request_;
  const CcfFormat format_;
  const ButtonBitmapChoice choice_;
  IconList& icons_;
  GenerationRun& run_;
  common::Messages& messages_;
  // Without a loaded file every read fails like a read past the end.
  static inline const CcfImage kNoImage{};
  CcfReader reader_;
  PdbWriter writer_;
  Bytes record_;
};

// Writes a category panel's items through the same walk that counted them.
class WritingVisitor : public PanelVisitor {
 public:
  WritingVisitor(Generator& generator, const LayoutTransform& layout, uint8_t category)
      : generator_(generator), layout_(layout), category_(category) {}
  void Button(const PanelItemVisit& item) override {
    generator_.WriteButton(item.object, item.x, item.y, layout_, category_);
  }
  void Frame(const PanelItemVisit& item) override {
    generator_.WriteFrame(item.object, item.x, item.y, layout_, category_);
  }

 private:
  Generator& generator_;
  const LayoutTransform& layout_;
  uint8_t category_;
};

uint64_t Generator::CountRecords() {
  icons_.Clear();
  uint64_t items = 0;
  for (const std::string& entry : request_.categoryEntries) {
    items += CountPanelItems(reader_, HexToOffset(entry), format_, choice_, icons_);
  }
  items += request_.unfiledEntries.size();
  for (const std::string& entry : request_.unfiledEntries) {
    RegisterButtonIcons(reader_, HexToOffset(entry), choice_, icons_);
  }
  return RecordTotal(icons_.size(), items, request_.categoryEntries.size(), request_.hardKeys,
                     format_);
}

bool Generator::WriteBitmaps() {
  BitmapWarnings warnings{run_.over64kShown, messages_};
  CompressedBitmapNote localNote;
  CompressedBitmapNote& note = run_.compressedNote ? *run_.compressedNote : localNote;
  for (const std::string& key : icons_) {
    if (writer_.failed()) return false;
    writer_.AppendRecordEntry(0);
    std::optional<CcfBitmapPixels> pixels =
        RenderCcfBitmap(reader_, HexToOffset(key), request_.layout, note);
    if (!pixels) return false;  // its message has been shown; the target stays as it was
    Bytes& record = NewRecord();
    AppendRecordHeader(record, BitmapRecordName(key), kKindBitmap);
    AppendBitmapRecordBody(record, PalmBitmapSourceOf(*pixels), warnings);
    writer_.AppendRecordBytes(record);
  }
  return !writer_.failed();
}

IrBlock Generator::IrOfActions(uint32_t actionList) {
  uint32_t irCode = FindIrCode(reader_, actionList, request_.includeIr);
  return ConvertIrCode(reader_, format_, irCode, IrWarnings{run_.irWarnings, messages_},
                       request_.convertRc6 ? Rc6Codes::kConvert : Rc6Codes::kSkip);
}

void Generator::WriteButton(uint32_t button, uint16_t x, uint16_t y, const LayoutTransform& layout,
                            uint8_t category) {
  if (writer_.failed()) return;
  ControlRecord control =
      PlaceControl(layout, x, y, reader_.ReadU16(button), reader_.ReadU16(uint64_t{button} + 2));
  ControlLabel label = MakeLabel(reader_, uint64_t{button} + kButtonLabelField,
                                 reader_.ReadU8(uint64_t{button} + kButtonFontSizeField),
                                 request_.includeText, true);
  control.label = label.label;
  control.glyph = label.glyph;
  IrBlock ir = IrOfActions(reader_.ReadU32(uint64_t{button} + kButtonActionsField));
  Bytes& controlBytes = NewRecord();
  AppendControlRecord(controlBytes, control, ir, kNoIrButton);
  uint32_t controlId = Append(category, controlBytes);

  uint32_t unselected = reader_.ReadU32(button + ButtonBitmapField(request_.activeButtons, false));
  uint32_t colour = ReadButtonColour(reader_, button, request_.activeButtons, format_);
  uint8_t background = BackgroundPalmColour(colour, format_.colourFormat);
  StyleRecord style;
  style.controlUniqueId = controlId;
  style.bitmapOffset = unselected;
  style.bitmapRef = icons_.FindRef(unselected);
  style.pressedRef = icons_.FindPressedRef(unselected);
  style.colourWord = uint32_t{TextColourClass(colour, format_.colourFormat)} << 16;
  if (format_.colourFormat) style.colourWord |= uint32_t{background} << 8;
  if (style.bitmapRef == kNoBitmapRef) {
    style.bitmapRef = ButtonStyleValueWithoutBitmap(background, !ir.empty(), format_.colourFormat);
  }
  style.style = style.pressedRef != kNoBitmapRef ? 3 : 2;
  if (style.bitmapRef == kNoBitmapRef && ir.empty()) style.style = 4;
  style.text = label.text;
  Bytes& styleBytes = NewRecord();
  AppendStyleRecord(styleBytes, style);
  Append(0, styleBytes);
}

void Generator::WriteFrame(uint32_t frame, uint16_t x, uint16_t y, const LayoutTransform& layout,
                           uint8_t category) {
  if (writer_.failed()) return;
  ControlRecord control =
      PlaceControl(layout, x, y, reader_.ReadU16(frame), reader_.ReadU16(uint64_t{frame} + 2));
  ControlLabel label =
      MakeLabel(reader_, uint64_t{frame} + kFrameNameField,
                reader_.ReadU8(uint64_t{frame} + kFrameFontSizeField), request_.includeText, false);
  control.label = label.label;
  control.glyph = label.glyph;
  Bytes& controlBytes = NewRecord();
  AppendControlRecord(controlBytes, control, {}, kNoIrFrame);
  uint32_t controlId = Append(category, controlBytes);

  StyleRecord style;
  style.controlUniqueId = controlId;
  style.bitmapOffset = reader_.ReadU32(uint64_t{frame} + kFrameBitmapField);
  style.bitmapRef = icons_.FindRef(style.bitmapOffset);
  style.pressedRef = kNoBitmapRef;
  style.colourWord =
      uint32_t{TextColourClass(ReadFrameColour(reader_, frame, format_), format_.colourFormat)}
      << 16;
  style.style = style.bitmapRef == kNoBitmapRef ? 4 : 2;
  style.text = label.text;
  Bytes& styleBytes = NewRecord();
  AppendStyleRecord(styleBytes, style);
  Append(0, styleBytes);
}

void Generator::WritePanel(uint32_t panel, uint8_t category) {
  WritingVisitor writer(*this, request_.layout, category);
  VisitPanel(reader_, panel, format_, writer);
}

void Generator::WriteHardKeys(uint32_t panel, uint8_t category) {
  HardKeyGeometry column = HardKeyColumn(request_.imageWidth, request_.imageHeight,
                                         format_.colourFormat, MapTarget::kOutput);
  // A panel whose device is unknown gets keys without IR, not action lists
  // read from wherever offset 0 points.
  uint32_t device = DeviceOfPanel(request_.panelToDeviceList, panel);
  for (int i = 0; i < column.count && !writer_.failed(); ++i) {
    uint32_t actionList =
        device == 0 ? 0 : reader_.ReadU32(uint64_t{device} + kDeviceHardKeysField + 4 * i);
    ControlRecord key;
    key.x = column.left;
    key.y = column.tops[static_cast<size_t>(i)];
    key.width = column.width;
    key.height = column.height;
    key.label = kHardKeyNames[static_cast<size_t>(i)];
    WriteHardKey(key, actionList, category);
  }
}

void Generator::WriteHardKey(const ControlRecord& key, uint32_t actionList, uint8_t category) {
  Bytes& bytes = NewRecord();
  AppendControlRecord(bytes, key, IrOfActions(actionList), kNoIrButton);
  Append(category, bytes);
}

}  // namespace

void GenerationRun::ClearWarnings() {
  irWarnings = {};
  over64kShown = false;
  if (compressedNote) compressedNote->Clear();
}

uint64_t RecordTotal(uint64_t iconCount, uint64_t itemCount, uint64_t categoryCount, bool hardKeys,
                     const CcfFormat& format) {
  uint64_t total = iconCount + 2 * itemCount + 1;
  if (hardKeys) total += categoryCount * static_cast<uint64_t>(HardKeyCount(format));
  return total;
}

bool GenerateDatabase(const GenerationRequest& request, const std::string& path, IconList& icons,
                      GenerationRun& run, common::Messages& messages) {
  Generator generator(request, icons, run, messages);
  return generator.Run(path);
}

}  // namespace velmora
