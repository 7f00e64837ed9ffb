#include "tests/support/ccf_builder.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace ccf_builder {
namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v >> 16));
  PutU16(out, static_cast<uint16_t>(v));
}

void PutItems(std::vector<uint8_t>& out, const std::vector<PanelItem>& items) {
  if (items.size() > 255) throw std::invalid_argument("more than 255 items");
  for (const PanelItem& item : items) {
    PutU16(out, item.x);
    PutU16(out, item.y);
    PutU32(out, item.object);
    out.push_back(item.kind);
  }
}

// A colour value: the whole word with colourFormat, its low byte otherwise.
void PutColour(std::vector<uint8_t>& out, uint32_t colour, bool colourFormat) {
  if (colourFormat) {
    PutU32(out, colour);
  } else {
    out.push_back(static_cast<uint8_t>(colour));
  }
}

void PutPairs(std::vector<uint16_t>& words, const BurstPairs& pairs) {
  for (auto [on, off] : pairs) {
    words.push_back(on);
    words.push_back(off);
  }
}

std::vector<uint8_t> PackPixels(const Bitmap& bitmap) {
  const uint32_t rowBytes = BitmapRowBytes(bitmap.width, bitmap.depth);
  std::vector<uint8_t> out(static_cast<size_t>(rowBytes) * bitmap.height, 0);
  const int perByte = 8 / bitmap.depth;
  const uint8_t mask = static_cast<uint8_t>((1u << bitmap.depth) - 1);
  for (uint32_t r = 0; r < bitmap.height; ++r) {
    for (uint32_t c = 0; c < bitmap.width; ++c) {
      const uint8_t value = bitmap.pixels[static_cast<size_t>(r) * bitmap.width + c] & mask;
      const int shift = 8 - bitmap.depth * (1 + static_cast<int>(c) % perByte);
      out[static_cast<size_t>(r) * rowBytes + c / perByte] |= static_cast<uint8_t>(value << shift);
    }
  }
  return out;
}

}  // namespace

std::vector<uint16_t> LearnedCode(uint16_t frequencyWord, const BurstPairs& once,
                                  const BurstPairs& repeat) {
  std::vector<uint16_t> words = {0x0000, frequencyWord, static_cast<uint16_t>(once.size()),
                                 static_cast<uint16_t>(repeat.size())};
  PutPairs(words, once);
  PutPairs(words, repeat);
  return words;
}

// Words 2 and 3 of the RC5 forms count the data pairs that follow.
std::vector<uint16_t> Rc5Code(uint8_t system, uint8_t command) {
  return {0x5000, 0x0073, 0x0000, 0x0001, system, command};
}

std::vector<uint16_t> Rc5xCode(uint8_t system, uint8_t command, uint8_t data) {
  return {0x5001, 0x0073, 0x0000, 0x0002, system, command, data, 0x0000};
}

uint16_t BitmapFlags(int depth, bool compressed) {
  uint16_t flags = 0;
  if (depth == 2) flags = 0x0100;
  if (depth == 8) flags = 0x0001;
  if (compressed) flags |= 0x8000;
  return flags;
}

uint32_t BitmapRowBytes(uint16_t width, int depth) {
  switch (depth) {
    case 1:
      return (width + 7u) / 8u;
    case 2:
      return ((width + 3u) / 4u + 1u) & ~1u;
    case 8:
      return width;
  }
  throw std::invalid_argument("bitmap depth must be 1, 2 or 8");
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

CcfBuilder::CcfBuilder(Layout layout) : layout_(layout), bytes_(kHeaderSize, 0) {
  PatchBytes(13, {'C', 'C', 'F'});
  PatchBytes(32, {'C', 'C', 'F'});
  uint32_t attributes = layout.extraAttributes;
  if (layout.colourFormat) attributes |= kColourFormatBit;
  if (layout.longIrHeader) attributes |= kLongIrHeaderBit;
  Patch32(kAttributeOffset, attributes);
}

uint32_t CcfBuilder::Append(const std::vector<uint8_t>& bytes) {
  const uint32_t offset = size();
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return offset;
}

uint32_t CcfBuilder::AddRaw(const std::vector<uint8_t>& bytes) { return Append(bytes); }

uint32_t CcfBuilder::AddString(std::string_view text) {
  if (text.size() > 255) throw std::invalid_argument("CCF strings hold at most 255 characters");
  std::vector<uint8_t> out = {static_cast<uint8_t>(text.size())};
  out.insert(out.end(), text.begin(), text.end());
  return Append(out);
}

uint32_t CcfBuilder::OptionalString(const std::optional<std::string>& text) {
  return text ? AddString(*text) : 0;
}

uint32_t CcfBuilder::AddBitmap(const Bitmap& bitmap) {
  std::vector<uint8_t> out;
  const uint32_t rowBytes = BitmapRowBytes(bitmap.width, bitmap.depth);
  const uint64_t pixelBytes = static_cast<uint64_t>(rowBytes) * bitmap.height;
  const bool packed = bitmap.raw.empty() && !bitmap.pixels.empty();
  if (packed && bitmap.pixels.size() != static_cast<size_t>(bitmap.width) * bitmap.height) {
    throw std::invalid_argument("bitmap needs one pixel value per pixel");
  }
  const std::vector<uint8_t> data = packed ? PackPixels(bitmap) : bitmap.raw;
  // +0 holds the data size where it fits, for compressed bitmaps the object's
  // size (their stream ends there); only the decoder of compressed ones reads it.
  const uint64_t sizeWord = bitmap.compressed ? 8 + data.size() : pixelBytes;
  PutU16(out, sizeWord <= 0xFFFF ? static_cast<uint16_t>(sizeWord) : 0);
  PutU16(out, bitmap.width);
  PutU16(out, bitmap.height);
  PutU16(out, BitmapFlags(bitmap.depth, bitmap.compressed));
  out.insert(out.end(), data.begin(), data.end());
  return Append(out);
}

uint32_t CcfBuilder::AddIrCode(const IrCode& code) {
  const uint32_t headerSize = layout_.longIrHeader ? 12 : 6;
  const uint32_t recordSize = headerSize + 2 * static_cast<uint32_t>(code.words.size());
  std::vector<uint8_t> out;
  PutU16(out, code.firstWord.value_or(static_cast<uint16_t>(recordSize)));
  out.resize(headerSize, 0);
  for (uint16_t word : code.words) PutU16(out, word);
  return Append(out);
}

uint32_t CcfBuilder::AddActionList(const std::vector<Action>& actions) {
  if (actions.size() > 255) throw std::invalid_argument("more than 255 actions");
  std::vector<uint8_t> out = {0, static_cast<uint8_t>(actions.size())};
  for (const Action& action : actions) {
    out.push_back(action.type);
    PutU32(out, action.first);
    PutU32(out, action.second);
  }
  return Append(out);
}

uint32_t CcfBuilder::AddFrame(const Frame& frame) {
  const uint32_t name = OptionalString(frame.name);
  std::vector<uint8_t> out;
  PutU16(out, frame.width);
  PutU16(out, frame.height);
  PutU32(out, name);
  PutU32(out, frame.bitmap);
  PutU32(out, 0);  // +12..+15, not read
  out.push_back(frame.fontSize);
  PutColour(out, frame.colour, layout_.colourFormat);
  out.push_back(0);  // not read
  out.push_back(static_cast<uint8_t>(frame.children.size()));
  PutItems(out, frame.children);
  return Append(out);
}

uint32_t CcfBuilder::AddButton(const Button& button) {
  const uint32_t label = OptionalString(button.label);
  const uint32_t secondName = OptionalString(button.secondName);
  std::vector<uint8_t> out;
  PutU16(out, button.width);
  PutU16(out, button.height);
  PutU32(out, button.actions);
  PutU32(out, label);
  PutU32(out, secondName);
  out.push_back(button.fontSize);
  out.push_back(0);  // +17, not read
  for (uint32_t bitmap : button.bitmaps) PutU32(out, bitmap);
  // Each colour is followed by an unread value of the same width.
  for (uint32_t colour : button.colours) {
    PutColour(out, colour, layout_.colourFormat);
    PutColour(out, 0, layout_.colourFormat);
  }
  return Append(out);
}

uint32_t CcfBuilder::AddPanel(const Panel& panel) {
  uint32_t name = OptionalString(panel.name);
  if (panel.nameFlag) name |= 0x80000000u;
  std::vector<uint8_t> out;
  PutU32(out, 0);  // next, set by AddDevice
  PutU32(out, name);
  out.push_back(0);  // not read
  out.push_back(static_cast<uint8_t>(panel.items.size()));
  PutItems(out, panel.items);
  return Append(out);
}

int CcfBuilder::HardKeyCount() const { return layout_.colourFormat ? 9 : 7; }

uint32_t CcfBuilder::AddDevice(const Device& device) {
  if (device.hardKeys.size() > static_cast<size_t>(HardKeyCount())) {
    throw std::invalid_argument("too many hard keys for this layout");
  }
  const uint32_t name = AddString(device.name);
  for (size_t i = 0; i + 1 < device.panels.size(); ++i) {
    Patch32(device.panels[i] + kNextField, device.panels[i + 1]);
  }
  std::vector<uint8_t> out;
  PutU32(out, 0);  // next, set by SetChain
  PutU32(out, name);
  out.resize(20, 0);
  for (int key = 0; key < HardKeyCount(); ++key) {
    PutU32(out, key < static_cast<int>(device.hardKeys.size()) ? device.hardKeys[key] : 0);
  }
  out.resize(layout_.colourFormat ? 76 : 60, 0);
  PutU32(out, device.panels.empty() ? 0 : device.panels.front());
  return Append(out);
}

void CcfBuilder::SetChain(Chain chain, const std::vector<uint32_t>& devices) {
  for (size_t i = 0; i + 1 < devices.size(); ++i) {
    Patch32(devices[i] + kNextField, devices[i + 1]);
  }
  Patch32(static_cast<uint32_t>(chain), devices.empty() ? 0 : devices.front());
}

uint32_t CcfBuilder::DeviceFirstPanelField(uint32_t device) const {
  return device + (layout_.colourFormat ? 76 : 60);
}

uint32_t CcfBuilder::DeviceHardKeyField(uint32_t device, int key) const {
  return device + 20 + 4 * static_cast<uint32_t>(key);
}

uint32_t CcfBuilder::PanelItemField(uint32_t panel, int index) const {
  return panel + 10 + 9 * static_cast<uint32_t>(index);
}

uint32_t CcfBuilder::FrameChildCountField(uint32_t frame) const {
  return frame + (layout_.colourFormat ? 22 : 19);
}

uint32_t CcfBuilder::FrameChildField(uint32_t frame, int index) const {
  return FrameChildCountField(frame) + 1 + 9 * static_cast<uint32_t>(index);
}

uint32_t CcfBuilder::ActionField(uint32_t actionList, int index) const {
  return actionList + 2 + 9 * static_cast<uint32_t>(index);
}

void CcfBuilder::PatchBytes(uint32_t offset, const std::vector<uint8_t>& bytes) {
  if (offset + bytes.size() > bytes_.size()) bytes_.resize(offset + bytes.size(), 0);
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + offset);
}

void CcfBuilder::Patch8(uint32_t offset, uint8_t value) { PatchBytes(offset, {value}); }

void CcfBuilder::Patch16(uint32_t offset, uint16_t value) {
  std::vector<uint8_t> out;
  PutU16(out, value);
  PatchBytes(offset, out);
}

void CcfBuilder::Patch32(uint32_t offset, uint32_t value) {
  std::vector<uint8_t> out;
  PutU32(out, value);
  PatchBytes(offset, out);
}

void CcfBuilder::Truncate(uint32_t size) {
  if (size < bytes_.size()) bytes_.resize(size);
}

bool CcfBuilder::WriteFile(const std::string& path) const { return WriteFileBytes(path, bytes_); }

}  // namespace ccf_builder
