// Writes CCF files for tests, samples and fuzz seeds.
//
// The builder appends objects to the file as they are added and returns the
// absolute offset of each one, so a test can expect list entries such as
// "0000ABCD - Name" (see ListEntry). References to objects that do not exist
// yet (loops, aliases in both directions) are set afterwards with Patch32 and
// the field-offset helpers below.
//
//   ccf_builder::CcfBuilder b({.colourFormat = true});
//   uint32_t ir = b.AddIrCode({ccf_builder::Rc5Code(0, 12)});
//   uint32_t power = b.AddButton({.width = 40, .height = 20,
//                                 .actions = b.AddActionList({ccf_builder::IrAction(ir)}),
//                                 .label = "Power", .fontSize = 10});
//   uint32_t panel = b.AddPanel({"Main", {ccf_builder::ButtonItem(10, 10, power)}});
//   uint32_t tv = b.AddDevice({.name = "TV", .panels = {panel}});
//   b.SetChain(ccf_builder::Chain::kDevices, {tv});
//   b.WriteFile("tv.ccf");
//
// Layout: a 60-byte header ("CCF" at 13 and 32, the attribute word at 36, the
// home, device and macro chain references at 48, 52 and 56), then the objects in
// the order they were added. All values are big-endian.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "converter/ccf/ccf_image.h"

namespace ccf_builder {

// The two format flags of the attribute word.
struct Layout {
  bool colourFormat = false;     // bit 8: colour records, 9 hard keys
  bool longIrHeader = false;     // bit 18: 12-byte IR code header instead of 6
  uint32_t extraAttributes = 0;  // other attribute bits, ORed in as given
};

inline constexpr uint32_t kHeaderSize = 60;
inline constexpr uint32_t kAttributeOffset = 36;
inline constexpr uint32_t kColourFormatBit = 0x00000100;
inline constexpr uint32_t kLongIrHeaderBit = 0x00040000;

enum class Chain : uint32_t { kHome = 48, kDevices = 52, kMacros = 56 };

// One 9-byte entry of a panel's item array or a frame's child array.
struct PanelItem {
  uint16_t x = 0;
  uint16_t y = 0;
  uint32_t object = 0;  // FrameRecord or ButtonRecord offset
  uint8_t kind = 0;     // 0 = frame, non-zero = button
};
inline PanelItem FrameItem(uint16_t x, uint16_t y, uint32_t frame) { return {x, y, frame, 0}; }
inline PanelItem ButtonItem(uint16_t x, uint16_t y, uint32_t button) { return {x, y, button, 1}; }

// One 9-byte entry of an action list.
struct Action {
  uint8_t type = 0;
  uint32_t first = 0;
  uint32_t second = 0;
};
// Type 1 with first parameter 0: send the IR code at `irCode`.
inline Action IrAction(uint32_t irCode) { return {1, 0, irCode}; }
// Type 2: use the actions of `button` (of `device`, which the converter ignores).
inline Action AliasAction(uint32_t button, uint32_t device = 0) { return {2, device, button}; }

// Pronto code words. Pairs are (on, off) counts in carrier cycles.
using BurstPairs = std::vector<std::pair<uint16_t, uint16_t>>;
std::vector<uint16_t> LearnedCode(uint16_t frequencyWord, const BurstPairs& once,
                                  const BurstPairs& repeat = {});
std::vector<uint16_t> Rc5Code(uint8_t system, uint8_t command);
std::vector<uint16_t> Rc5xCode(uint8_t system, uint8_t command, uint8_t data);

struct IrCode {
  std::vector<uint16_t> words;
  // The record's first word; it must be non-zero for a real code. Default:
  // the record's size in bytes.
  std::optional<uint16_t> firstWord;
};

struct Bitmap {
  uint16_t width = 0;
  uint16_t height = 0;
  int depth = 1;            // 1, 2 or 8 bits per pixel (flags 0x0000, 0x0100, 0x0001)
  bool compressed = false;  // sets flags bit 15
  // One value per pixel, rows top to bottom; packed into rows as the depth
  // requires (1-bit rows (w+7)/8 bytes, 2-bit rows (w+3)/4 rounded up to even,
  // 8-bit rows w bytes). Must hold width * height values, or be empty.
  std::vector<uint8_t> pixels;
  // Written after the 8-byte bitmap header instead of packed pixels when
  // non-empty (compressed data, rows cut short).
  std::vector<uint8_t> raw;
};
uint16_t BitmapFlags(int depth, bool compressed);
uint32_t BitmapRowBytes(uint16_t width, int depth);

struct Frame {
  uint16_t width = 0;
  uint16_t height = 0;
  std::optional<std::string> name;  // nullopt: name reference 0
  uint32_t bitmap = 0;
  uint8_t fontSize = 0;
  uint32_t colour = 0;  // one byte (the low byte) in the plain layout
  std::vector<PanelItem> children;
};

struct Button {
  uint16_t width = 0;
  uint16_t height = 0;
  uint32_t actions = 0;
  std::optional<std::string> label;       // nullopt: reference 0
  std::optional<std::string> secondName;  // nullopt: reference 0
  uint8_t fontSize = 0;
  // Inactive unselected, inactive selected, active unselected, active selected.
  std::array<uint32_t, 4> bitmaps{};
  std::array<uint32_t, 2> colours{};  // inactive, active; low byte in the plain layout
};

struct Panel {
  std::optional<std::string> name;  // nullopt: name reference 0
  std::vector<PanelItem> items;
  bool nameFlag = false;  // sets bit 31 of the name reference
};

struct Device {
  std::string name;                // written at +4; the converter does not read it
  std::vector<uint32_t> hardKeys;  // action lists, at most 7 (9 with colourFormat)
  std::vector<uint32_t> panels;    // linked in this order through their next fields
};

class CcfBuilder {
 public:
  explicit CcfBuilder(Layout layout = {});

  const Layout& layout() const { return layout_; }

  // Each Add appends one object (and the strings it names) and returns its offset.
  uint32_t AddString(std::string_view text);
  uint32_t AddBitmap(const Bitmap& bitmap);
  uint32_t AddIrCode(const IrCode& code);
  uint32_t AddActionList(const std::vector<Action>& actions);
  uint32_t AddFrame(const Frame& frame);
  uint32_t AddButton(const Button& button);
  uint32_t AddPanel(const Panel& panel);
  // Links the panels' next fields and points the device at the first one.
  uint32_t AddDevice(const Device& device);
  uint32_t AddRaw(const std::vector<uint8_t>& bytes);

  // Links the devices' next fields and points the header's chain at the first.
  void SetChain(Chain chain, const std::vector<uint32_t>& devices);

  // Offsets of fields, for patching references after the fact.
  uint32_t DeviceFirstPanelField(uint32_t device) const;
  uint32_t DeviceHardKeyField(uint32_t device, int key) const;
  uint32_t PanelItemField(uint32_t panel, int index) const;
  uint32_t FrameChildField(uint32_t frame, int index) const;
  uint32_t FrameChildCountField(uint32_t frame) const;
  uint32_t ActionField(uint32_t actionList, int index) const;
  static constexpr uint32_t kNextField = 0;        // devices and panels
  static constexpr uint32_t kItemObjectField = 4;  // within a PanelItem
  static constexpr uint32_t kButtonActionsField = 4;
  static constexpr uint32_t kActionSecondField = 5;  // within an Action

  // Raw edits: overwrite bytes at an absolute offset (the file grows if needed),
  // or cut the file.
  void Patch8(uint32_t offset, uint8_t value);
  void Patch16(uint32_t offset, uint16_t value);
  void Patch32(uint32_t offset, uint32_t value);
  void PatchBytes(uint32_t offset, const std::vector<uint8_t>& bytes);
  void Truncate(uint32_t size);

  uint32_t size() const { return static_cast<uint32_t>(bytes_.size()); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  // Writes bytes() to `path`; false when the file cannot be written.
  bool WriteFile(const std::string& path) const;

 private:
  uint32_t Append(const std::vector<uint8_t>& bytes);
  uint32_t OptionalString(const std::optional<std::string>& text);
  int HardKeyCount() const;

  Layout layout_;
  std::vector<uint8_t> bytes_;
};

// A list-box entry as the converter writes it: 8 upper-case hex digits, " - ", name.
using velmora::ListEntry;

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace ccf_builder
