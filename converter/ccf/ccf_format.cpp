#include "converter/ccf/ccf_format.h"

#include "converter/ccf/ccf_walk.h"

namespace velmora {

namespace {

inline constexpr uint64_t kActionCountField = 1;
inline constexpr uint64_t kActionsField = 2;
inline constexpr uint64_t kActionSize = 9;
inline constexpr uint8_t kActionIrCode = 1;
inline constexpr uint8_t kActionAlias = 2;

// Characters 12 to 19 of a PanelToDeviceList entry: after "PPPPPPPP - ".
inline constexpr size_t kDevicePartStart = 11;

uint32_t SearchActionList(CcfReader& reader, uint32_t actionList, VisitGuard& searched, int depth) {
  if (actionList == 0 || depth > kMaxAliasDepth || !searched.FirstVisit(actionList)) return 0;
  uint8_t count = reader.ReadU8(uint64_t{actionList} + kActionCountField);
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t action = uint64_t{actionList} + kActionsField + kActionSize * i;
    uint8_t type = reader.ReadU8(action);
    uint32_t first = reader.ReadU32(action + 1);
    uint32_t second = reader.ReadU32(action + 5);
    if (type == kActionIrCode && first == 0) return second;
    if (type == kActionAlias) {
      uint32_t aliasActions = reader.ReadU32(uint64_t{second} + kButtonActionsField);
      uint32_t code = SearchActionList(reader, aliasActions, searched, depth + 1);
      if (code != 0) return code;
    }
  }
  return 0;
}

}  // namespace

CcfFormat FormatFromAttributes(uint32_t attributeWord) {
  return {(attributeWord & kColourFormatMask) != 0, (attributeWord & kLongIrHeaderMask) != 0};
}

uint64_t DeviceFirstPanelField(const CcfFormat& format) { return format.colourFormat ? 76 : 60; }
int HardKeyCount(const CcfFormat& format) { return format.colourFormat ? 9 : 7; }
uint64_t FrameChildCountField(const CcfFormat& format) { return format.colourFormat ? 22 : 19; }
uint64_t FrameChildrenField(const CcfFormat& format) { return format.colourFormat ? 23 : 20; }

uint64_t ButtonBitmapField(bool active, bool selected) {
  return 18 + 8 * uint64_t{active} + 4 * uint64_t{selected};
}

uint64_t ButtonColourField(bool active, const CcfFormat& format) {
  return 34 + (format.colourFormat ? 8 : 2) * uint64_t{active};
}

uint32_t ReadColourValue(CcfReader& reader, uint64_t offset, const CcfFormat& format) {
  return format.colourFormat ? reader.ReadU32(offset) : reader.ReadU8(offset);
}

uint32_t ReadButtonColour(CcfReader& reader, uint32_t button, bool active,
                          const CcfFormat& format) {
  return ReadColourValue(reader, uint64_t{button} + ButtonColourField(active, format), format);
}

uint32_t ReadFrameColour(CcfReader& reader, uint32_t frame, const CcfFormat& format) {
  return ReadColourValue(reader, uint64_t{frame} + kFrameColourField, format);
}

std::string ReadButtonListName(CcfReader& reader, uint32_t button) {
  std::string name =
      reader.ReadCcfString(uint64_t{button} + kButtonLabelField, kButtonListLabelCapacity, false);
  if (!name.empty()) return name;
  return reader.ReadCcfString(uint64_t{button} + kButtonSecondNameField, kButtonListLabelCapacity,
                              false);
}

uint64_t IrCodeWordsField(const CcfFormat& format) { return format.longIrHeader ? 12 : 6; }

uint32_t FindIrCode(CcfReader& reader, uint32_t actionList, bool includeIr) {
  if (!includeIr || actionList == 0) return 0;
  VisitGuard searched;
  return SearchActionList(reader, actionList, searched, 0);
}

uint32_t DeviceOfPanel(const std::vector<std::string>& panelToDeviceList, uint32_t panel) {
  std::string key = OffsetToHex(panel);
  for (const std::string& entry : panelToDeviceList) {
    if (entry.compare(0, key.size(), key) != 0) continue;
    if (entry.size() < kDevicePartStart) return 0;
    return HexToOffset(std::string_view(entry).substr(kDevicePartStart));
  }
  return 0;
}

}  // namespace velmora
