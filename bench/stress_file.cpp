#include "bench/stress_file.h"

#include <cstdio>
#include <vector>

#include "tests/support/ccf_builder.h"

namespace stress {
namespace {

using ccf_builder::ButtonItem;
using ccf_builder::CcfBuilder;
using ccf_builder::FrameItem;
using ccf_builder::PanelItem;

class StressFile {
 public:
  explicit StressFile(const StressShape& shape)
      : shape_(shape),
        b_({.colourFormat = true}),
        pixels_(size_t{shape.bitmapWidth} * shape.bitmapHeight) {}

  bool Write(const std::string& path) {
    std::vector<uint32_t> panels;
    for (int p = 0; p < shape_.panels; ++p) panels.push_back(Panel(p));
    if (shape_.extraButtons > 0) {
      std::vector<PanelItem> extras;
      for (int i = 0; i < shape_.extraButtons; ++i) extras.push_back(ButtonItem(0, 0, Button(i)));
      panels.push_back(b_.AddPanel({"Extras", extras}));
    }
    uint32_t keys = b_.AddActionList({ccf_builder::IrAction(IrCode(0))});
    uint32_t device = b_.AddDevice(
        {.name = "Stress", .hardKeys = std::vector<uint32_t>(9, keys), .panels = panels});
    b_.SetChain(ccf_builder::Chain::kDevices, {device});
    if (b_.WriteFile(path)) return true;
    std::perror(path.c_str());
    return false;
  }

 private:
  // A distinct picture: a gradient shifted by a running number.
  uint32_t Bitmap() {
    ++serial_;
    for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = static_cast<uint8_t>(i + serial_);
    return b_.AddBitmap(
        {.width = shape_.bitmapWidth, .height = shape_.bitmapHeight, .depth = 8, .pixels = pixels_});
  }

  // About 1000 bits: 100 pairs of 5 on-bits and 5 off-bits.
  uint32_t IrCode(int seed) {
    ccf_builder::BurstPairs pairs(100, {25, 25});
    pairs.back().second = static_cast<uint16_t>(25 + seed % 50);
    return b_.AddIrCode({ccf_builder::LearnedCode(0x6D, pairs)});
  }

  uint32_t Button(int n) {
    uint32_t up = Bitmap();
    uint32_t down = Bitmap();
    return b_.AddButton({.width = shape_.bitmapWidth,
                         .height = shape_.bitmapHeight,
                         .actions = b_.AddActionList({ccf_builder::IrAction(IrCode(n))}),
                         .label = "B" + std::to_string(n),
                         .fontSize = 8,
                         .bitmaps = {up, down, up, down}});
  }

  uint32_t Panel(int p) {
    std::vector<PanelItem> items;
    int button = 0;
    for (int f = 0; f < shape_.framesPerPanel; ++f) {
      std::vector<PanelItem> children;
      for (int c = 0; c < shape_.buttonsPerFrame; ++c) {
        children.push_back(ButtonItem(0, 0, Button(button++)));
      }
      items.push_back(FrameItem(0, 0,
                                b_.AddFrame({.width = shape_.bitmapWidth,
                                             .height = shape_.bitmapHeight,
                                             .name = "F",
                                             .bitmap = Bitmap(),
                                             .children = children})));
    }
    return b_.AddPanel({"Panel " + std::to_string(p), items});
  }

  StressShape shape_;
  CcfBuilder b_;
  std::vector<uint8_t> pixels_;
  uint32_t serial_ = 0;
};

}  // namespace

bool WriteStressFile(const StressShape& shape, const std::string& path) {
  return StressFile(shape).Write(path);
}

}  // namespace stress
