// Generates samples/demo.ccf: a small but complete remote configuration in the
// colour layout, with a home panel, a TV and a DVD player, a macro, frames with
// children, pictures at 1, 2 and 8 bits, learned, RC5 and RC5x codes, aliases,
// media-symbol labels and hard keys.
//
//   make_demo_ccf OUTPUT.ccf
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ccf_builder.h"

namespace {

using namespace ccf_builder;

// Colour values of the colour layout: foreground index in the top byte,
// background index in the bottom byte (palette indexes of the 6x6x6 cube).
constexpr uint32_t Colour(uint8_t foreground, uint8_t background) {
  return uint32_t{foreground} << 24 | background;
}
constexpr uint8_t kWhite = 215, kBlack = 0, kNavy = 229, kGrey = 248, kRed = 5;

// Hard-key order of a device record in the colour layout.
enum HardKey { kLeft, kRight, kVolDown, kVolUp, kChUp, kChDown, kMute, kFLeft, kFRight, kKeys };

// A learned code in the NEC pulse-distance form at 38 kHz: a leader, 32 data
// bits (address, inverted address, command, inverted command, LSB first) and a
// repeat frame.
std::vector<uint16_t> NecCode(uint8_t address, uint8_t command) {
  BurstPairs once = {{342, 171}};
  const uint32_t data =
      address | (~address & 0xFFu) << 8 | uint32_t{command} << 16 | (~command & 0xFFu) << 24;
  for (int bit = 0; bit < 32; ++bit) once.push_back({21, (data >> bit & 1) ? 64 : 21});
  once.back().second = 1520;
  return LearnedCode(0x006D, once, {{342, 86}, {21, 3654}});
}

// 8-bit logo: a diagonal colour-cube gradient with a white bar across it.
Bitmap Logo() {
  Bitmap b{.width = 96, .height = 24, .depth = 8};
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      const int red = x * 6 / b.width, blue = y * 6 / b.height;
      const bool bar = y >= 10 && y < 14 && x >= 8 && x < 88;
      b.pixels.push_back(static_cast<uint8_t>(bar ? kWhite : red + 6 * 2 + 36 * blue));
    }
  }
  return b;
}

// 2-bit button face: grey levels darkening towards a black rim.
Bitmap ButtonFace(bool pressed) {
  Bitmap b{.width = 44, .height = 22, .depth = 2};
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      const int edge = std::min(std::min(x, b.width - 1 - x), std::min(y, b.height - 1 - y));
      const int level = edge == 0 ? 0 : (edge < 3 ? 1 : (pressed ? 2 : 3));
      b.pixels.push_back(static_cast<uint8_t>(level));
    }
  }
  return b;
}

// 1-bit power symbol on white, 16 x 16.
Bitmap PowerIcon() {
  Bitmap b{.width = 16, .height = 16, .depth = 1};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int dx = 2 * x - 15, dy = 2 * y - 15, r2 = dx * dx + dy * dy;
      const bool ring = r2 >= 100 && r2 <= 196 && !(dy < 0 && dx > -7 && dx < 7);
      const bool stem = x >= 7 && x <= 8 && y >= 1 && y <= 8;
      b.pixels.push_back(ring || stem ? 0 : 1);
    }
  }
  return b;
}

struct Faces {
  uint32_t up;
  uint32_t down;
};

class Demo {
 public:
  Demo() : b_({.colourFormat = true}) {}

  std::vector<uint8_t> Build() {
    faces_ = {b_.AddBitmap(ButtonFace(false)), b_.AddBitmap(ButtonFace(true))};
    power_icon_ = b_.AddBitmap(PowerIcon());
    logo_ = b_.AddBitmap(Logo());
    const uint32_t tv = Tv();
    const uint32_t dvd = Dvd();
    b_.SetChain(Chain::kHome, {Home()});
    b_.SetChain(Chain::kDevices, {tv, dvd});
    b_.SetChain(Chain::kMacros, {Macros()});
    return b_.bytes();
  }

 private:
  uint32_t Ir(const std::vector<uint16_t>& words) { return b_.AddIrCode({words}); }
  uint32_t Send(const std::vector<uint16_t>& words) {
    return b_.AddActionList({IrAction(Ir(words))});
  }

  uint32_t TextButton(const std::string& label, uint32_t actions, uint16_t width = 44) {
    return b_.AddButton({.width = width,
                         .height = 22,
                         .actions = actions,
                         .label = label,
                         .fontSize = 10,
                         .bitmaps = {faces_.up, faces_.down, faces_.up, faces_.down},
                         .colours = {Colour(kBlack, kGrey), Colour(kNavy, kWhite)}});
  }

  uint32_t PlainButton(const std::string& label, uint32_t actions) {
    return b_.AddButton({.width = 36,
                         .height = 24,
                         .actions = actions,
                         .label = label,
                         .fontSize = 12,
                         .colours = {Colour(kWhite, kNavy), Colour(kWhite, kRed)}});
  }

  uint32_t Tv() {
    std::vector<uint32_t> keys(kKeys, 0);
    keys[kVolDown] = Send(Rc5Code(0, 17));
    keys[kVolUp] = Send(Rc5Code(0, 16));
    keys[kChUp] = Send(Rc5Code(0, 32));
    keys[kChDown] = Send(Rc5Code(0, 33));
    keys[kMute] = Send(Rc5Code(0, 13));
    keys[kLeft] = Send(NecCode(0x04, 0x0B));
    keys[kRight] = Send(NecCode(0x04, 0x0A));

    tv_power_ = b_.AddButton({.width = 24,
                              .height = 24,
                              .actions = Send(Rc5Code(0, 12)),
                              .secondName = "TV power",
                              .bitmaps = {power_icon_, power_icon_, power_icon_, power_icon_},
                              .colours = {Colour(kBlack, kWhite), Colour(kBlack, kWhite)}});
    std::vector<PanelItem> digits;
    for (int d = 0; d < 10; ++d) {
      const uint32_t button =
          PlainButton(std::to_string((d + 1) % 10), Send(Rc5Code(0, (d + 1) % 10)));
      digits.push_back(ButtonItem(static_cast<uint16_t>(4 + 40 * (d % 5)),
                                  static_cast<uint16_t>(4 + 30 * (d / 5)), button));
    }
    const uint32_t keypad = b_.AddFrame({.width = 208,
                                         .height = 64,
                                         .name = "Digits",
                                         .colour = Colour(kWhite, kNavy),
                                         .children = digits});
    const uint32_t main =
        b_.AddPanel({"TV Main",
                     {FrameItem(0, 0, b_.AddFrame({.width = 240, .height = 24, .bitmap = logo_})),
                      ButtonItem(208, 30, tv_power_),
                      ButtonItem(8, 30, TextButton("Input", Send(Rc5Code(0, 56)))),
                      ButtonItem(60, 30, TextButton("Guide", Send(NecCode(0x04, 0x45)))),
                      FrameItem(16, 70, keypad),
                      ButtonItem(8, 180, TextButton("Teletext", Send(Rc5Code(0, 60)), 72))}});
    const uint32_t picture =
        b_.AddPanel({"TV Picture",
                     {ButtonItem(8, 8, TextButton("Bright+", Send(Rc5xCode(0, 70, 1)), 72)),
                      ButtonItem(8, 40, TextButton("Bright-", Send(Rc5xCode(0, 70, 2)), 72)),
                      ButtonItem(96, 8, TextButton("Sleep", Send(NecCode(0x04, 0x0E))))}});
    return b_.AddDevice({.name = "TV", .hardKeys = keys, .panels = {main, picture}});
  }

  // A transport button labelled with one media-symbol byte.
  PanelItem Transport(uint16_t x, uint16_t y, char glyph, uint8_t command) {
    return ButtonItem(x, y, TextButton(std::string(1, glyph), Send(Rc5xCode(26, command, 0))));
  }

  uint32_t Dvd() {
    std::vector<uint32_t> keys(kKeys, 0);
    keys[kLeft] = Send(Rc5xCode(26, 33, 0));
    keys[kRight] = Send(Rc5xCode(26, 32, 0));
    keys[kFLeft] = Send(Rc5xCode(26, 84, 0));
    keys[kFRight] = Send(Rc5xCode(26, 15, 0));
    dvd_play_ = b_.AddButton({.width = 44,
                              .height = 22,
                              .actions = Send(Rc5xCode(26, 44, 0)),
                              .label = "\x87",
                              .fontSize = 10,
                              .bitmaps = {faces_.up, faces_.down, faces_.up, faces_.down},
                              .colours = {Colour(kBlack, kGrey), Colour(kNavy, kWhite)}});
    // Transport keys in a frame inside a frame: positions add up.
    const uint32_t inner =
        b_.AddFrame({.width = 200,
                     .height = 56,
                     .colour = Colour(kBlack, kGrey),
                     .children = {Transport(0, 0, '\xA0', 50), ButtonItem(50, 0, dvd_play_),
                                  Transport(100, 0, '\xB3', 52), Transport(150, 0, '\x85', 48),
                                  Transport(0, 30, '\xB6', 36), Transport(50, 30, '\x86', 54),
                                  Transport(100, 30, '\xA9', 55), Transport(150, 30, '\xAE', 35)}});
    const uint32_t outer = b_.AddFrame({.width = 216,
                                        .height = 80,
                                        .name = "Transport",
                                        .fontSize = 8,
                                        .colour = Colour(kWhite, kNavy),
                                        .children = {FrameItem(8, 16, inner)}});
    const uint32_t transport =
        b_.AddPanel({"DVD Transport",
                     {FrameItem(12, 20, outer),
                      ButtonItem(12, 120, TextButton("\xAB", Send(Rc5xCode(26, 45, 0)))),
                      ButtonItem(70, 120, TextButton("Power", Send(Rc5xCode(26, 12, 0))))}});
    const uint32_t menu = b_.AddPanel(
        {.name = "DVD Menu",
         .items = {ButtonItem(98, 20, TextButton("\xAC", Send(Rc5xCode(26, 88, 0)))),
                   ButtonItem(40, 50, TextButton("\x95", Send(Rc5xCode(26, 90, 0)))),
                   ButtonItem(98, 50, TextButton("OK", Send(Rc5xCode(26, 92, 0)))),
                   ButtonItem(156, 50, TextButton("\x97", Send(Rc5xCode(26, 91, 0)))),
                   ButtonItem(98, 80, TextButton("\xA7", Send(Rc5xCode(26, 89, 0)))),
                   ButtonItem(8, 150, TextButton("Title", Send(Rc5xCode(26, 113, 0)), 60)),
                   ButtonItem(172, 150, TextButton("Subtitle", Send(Rc5xCode(26, 75, 0)), 60))},
         .nameFlag = true});
    return b_.AddDevice({.name = "DVD", .hardKeys = keys, .panels = {transport, menu}});
  }

  uint32_t Home() {
    // Aliases: the home panel reuses the device buttons' codes.
    const uint32_t panel = b_.AddPanel(
        {"Home",
         {FrameItem(72, 8, b_.AddFrame({.width = 96, .height = 24, .bitmap = logo_})),
          ButtonItem(20, 60, TextButton("TV on", b_.AddActionList({AliasAction(tv_power_)}))),
          ButtonItem(80, 60, TextButton("\x99", b_.AddActionList({AliasAction(dvd_play_)}))),
          ButtonItem(140, 60, TextButton("Info", b_.AddActionList({{5, 0, 0}})))}});
    return b_.AddDevice({.name = "Home", .panels = {panel}});
  }

  uint32_t Macros() {
    // A macro: several codes in one action list, an alias among them.
    const uint32_t movie = b_.AddActionList(
        {IrAction(Ir(Rc5Code(0, 12))), AliasAction(dvd_play_), IrAction(Ir(NecCode(0x04, 0x0B)))});
    const uint32_t panel =
        b_.AddPanel({"Movie night",
                     {ButtonItem(20, 20, TextButton("Movie", movie, 96)),
                      ButtonItem(20, 60, TextButton("All off", Send(Rc5Code(0, 12)), 96))}});
    return b_.AddDevice({.name = "Macros", .panels = {panel}});
  }

  CcfBuilder b_;
  Faces faces_{};
  uint32_t power_icon_ = 0;
  uint32_t logo_ = 0;
  uint32_t tv_power_ = 0;
  uint32_t dvd_play_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_ccf OUTPUT.ccf\n");
    return 2;
  }
  if (!WriteFileBytes(argv[1], Demo().Build())) {
    std::fprintf(stderr, "make_demo_ccf: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
