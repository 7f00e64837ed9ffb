// Where the converter finds things in CCF records, and the two look-ups that
// follow references: an action list's IR code and a panel's device.
//
// The converter keeps no object tree: callers hold CCF offsets and re-read the
// fields below through a CcfReader whenever they need them. Two record layouts
// exist, told apart by the colour-format flag of the header's attribute word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter/ccf/ccf_image.h"

namespace velmora {

// Header fields.
inline constexpr uint64_t kMagic1Offset = 13;
inline constexpr uint64_t kMagic2Offset = 32;
inline constexpr char kMagic[] = "CCF";
inline constexpr uint64_t kAttributeOffset = 36;
inline constexpr uint64_t kHomeChainOffset = 48;
inline constexpr uint64_t kDeviceChainOffset = 52;
inline constexpr uint64_t kMacroChainOffset = 56;
inline constexpr uint32_t kColourFormatMask = 0x00000100;
inline constexpr uint32_t kLongIrHeaderMask = 0x00040000;

// The two format flags of the loaded file.
struct CcfFormat {
  bool colourFormat = false;  // colour records and values, 9 hard keys
  bool longIrHeader = false;  // IR code header of 12 bytes instead of 6
  bool operator==(const CcfFormat&) const = default;
};
CcfFormat FormatFromAttributes(uint32_t attributeWord);

// DeviceRecord.
inline constexpr uint64_t kDeviceHardKeysField = 20;      // u32 action list per hard key
uint64_t DeviceFirstPanelField(const CcfFormat& format);  // +60, or +76
int HardKeyCount(const CcfFormat& format);                // 7, or 9

// PanelRecord: next at +0, name reference at +4 (bit 31 masked), item count
// at +9, 9-byte PanelItems from +10.
inline constexpr uint64_t kPanelNameField = 4;
inline constexpr uint64_t kPanelItemCountField = 9;
inline constexpr uint64_t kPanelItemsField = 10;
inline constexpr uint64_t kPanelItemSize = 9;
inline constexpr size_t kPanelNameCapacity = 256;

// FrameRecord: width +0, height +2, name +4, bitmap +8, font size +16,
// colour +17 (u8, or u32 with colourFormat), child count and children below.
inline constexpr uint64_t kFrameNameField = 4;
inline constexpr uint64_t kFrameBitmapField = 8;
inline constexpr uint64_t kFrameFontSizeField = 16;
inline constexpr uint64_t kFrameColourField = 17;
uint64_t FrameChildCountField(const CcfFormat& format);  // +19, or +22
uint64_t FrameChildrenField(const CcfFormat& format);    // +20, or +23

// ButtonRecord: width +0, height +2, actions +4, label +8, second name +12,
// font size +16, four bitmaps from +18, colours from +34.
inline constexpr uint64_t kButtonActionsField = 4;
inline constexpr uint64_t kButtonLabelField = 8;
inline constexpr uint64_t kButtonSecondNameField = 12;
inline constexpr uint64_t kButtonFontSizeField = 16;
inline constexpr size_t kButtonListLabelCapacity = 245;
// The bitmap of a state: +18 + 8 * active + 4 * selected.
uint64_t ButtonBitmapField(bool active, bool selected);
// The colour value of a set: +34 + 2 * active (u8), or +34 + 8 * active (u32).
uint64_t ButtonColourField(bool active, const CcfFormat& format);

// A colour value (one byte plain, four bytes with colourFormat) as a u32.
uint32_t ReadColourValue(CcfReader& reader, uint64_t offset, const CcfFormat& format);
uint32_t ReadButtonColour(CcfReader& reader, uint32_t button, bool active, const CcfFormat& format);
uint32_t ReadFrameColour(CcfReader& reader, uint32_t frame, const CcfFormat& format);

// The ButtonList text of a button: its label at +8 (at most 244 characters),
// or the second name at +12 when the label is empty.
std::string ReadButtonListName(CcfReader& reader, uint32_t button);

// IrCodeRecord: the code words start after a 6- or 12-byte header.
uint64_t IrCodeWordsField(const CcfFormat& format);

// Action list (+1 count, 9-byte actions from +2) to IR code record, or 0.
// 0 at once when `includeIr` is false or the reference is 0. Type 1 with a
// first parameter of 0 ends the search with its second parameter; type 2
// searches the action list of the button its second parameter names. An alias
// loop, or a chain of aliases deeper than kMaxAliasDepth, yields 0 for that
// branch; an action list is searched at most once per call (searching it again
// could only give the same 0).
uint32_t FindIrCode(CcfReader& reader, uint32_t actionList, bool includeIr);
inline constexpr int kMaxAliasDepth = 32;

// The device of a panel from the PanelToDeviceList entries ("PPPPPPPP -
// DDDDDDDD"): the first entry whose offset part is the panel's; 0 when none.
uint32_t DeviceOfPanel(const std::vector<std::string>& panelToDeviceList, uint32_t panel);

}  // namespace velmora
