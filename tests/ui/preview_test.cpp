// The preview renderer on built panels: mapped rectangles, frames, the
// active set, the hard-key column and the button image; and the handlers
// that disable their buttons around a dialog. Whole demo panels are compared
// with golden images by check_cli_preview.cmake.
#include "converter/ui/preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"
#include "tests/output/output_test_util.h"
#include "tests/support/ccf_builder.h"

namespace velmora {
namespace {

using ccf_builder::ButtonItem;
using ccf_builder::CcfBuilder;
using ccf_builder::FrameItem;

constexpr Rgb kDarkGrey{0x55, 0x55, 0x55};
constexpr Rgb kLightGrey{0xAA, 0xAA, 0xAA};
constexpr uint32_t kDarkValue = 1 << 2;   // grey level 1 in bits 2-3
constexpr uint32_t kLightValue = 2 << 2;  // grey level 2

class Preview : public ::testing::Test {
 protected:
  // Draws `items` as a panel on a 320 x 307 canvas without hard keys.
  Canvas Draw(const std::vector<ccf_builder::PanelItem>& items, PreviewStyle style) {
    uint32_t panel = b_.AddPanel({"P", items});
    image_ = CcfImage(b_.bytes(), "t.ccf");
    CcfReader reader(image_, messages_);
    Canvas canvas(320, 307, kBlack);
    style.hardKeys = false;
    DrawPanel(reader, panel, style, canvas, note_);
    return canvas;
  }
  uint32_t PlainButton(uint16_t w, uint16_t h, uint32_t colour) {
    return b_.AddButton({.width = w, .height = h, .colours = {colour, colour}});
  }

  CcfBuilder b_;
  CcfImage image_;
  common::RecordedMessages messages_;
  CompressedBitmapNote note_;
};

TEST_F(Preview, ButtonsWithoutBitmapFillTheirTwoMappedCorners) {
  // Scale 1, offsets 0: a 10 x 10 button at (0, 0) fills pixels 0 to 9.
  Canvas one = Draw({ButtonItem(0, 0, PlainButton(10, 10, kDarkValue))}, {});
  EXPECT_EQ(one.Pixel(0, 0), kDarkGrey);
  EXPECT_EQ(one.Pixel(9, 9), kDarkGrey);
  EXPECT_EQ(one.Pixel(10, 9), kWhite);
  EXPECT_EQ(one.Pixel(9, 10), kWhite);
  // x = 10, width 20 under ScaleX 0.66 and OffsetX 1 spans 7 to 20 (exclusive).
  Canvas scaled =
      Draw({ButtonItem(10, 0, PlainButton(20, 5, kDarkValue))}, {.layout = {0.66f, 1.0f, 1, 0}});
  EXPECT_EQ(scaled.Pixel(6, 0), kWhite);
  EXPECT_EQ(scaled.Pixel(7, 0), kDarkGrey);
  EXPECT_EQ(scaled.Pixel(19, 4), kDarkGrey);
  EXPECT_EQ(scaled.Pixel(20, 0), kWhite);
  EXPECT_TRUE(messages_.entries().empty());
}

TEST_F(Preview, FramesPlaceTheirChildrenAndHaveNoFillOfTheirOwn) {
  uint32_t button = PlainButton(2, 2, kDarkValue);
  uint32_t inner = b_.AddFrame(
      {.width = 9, .height = 9, .colour = kLightValue, .children = {ButtonItem(1, 1, button)}});
  uint32_t outer = b_.AddFrame(
      {.width = 30, .height = 30, .colour = kLightValue, .children = {FrameItem(3, 3, inner)}});
  Canvas canvas = Draw({FrameItem(5, 5, outer)}, {});
  EXPECT_EQ(canvas.Pixel(5, 5), kWhite);
  EXPECT_EQ(canvas.Pixel(8, 8), kWhite);
  EXPECT_EQ(canvas.Pixel(9, 9), kDarkGrey);
  EXPECT_EQ(canvas.Pixel(10, 10), kDarkGrey);
  EXPECT_EQ(canvas.Pixel(11, 11), kWhite);
}

TEST_F(Preview, TheActiveSetChoosesBitmapOrColourAndBitmapsTakeTheOffsets) {
  // 1-bit, 2 x 1: white, black. Only the active set has it.
  uint32_t face = b_.AddBitmap({.width = 2, .height = 1, .depth = 1, .pixels = {1, 0}});
  uint32_t button = b_.AddButton(
      {.width = 2, .height = 1, .bitmaps = {0, 0, face, 0}, .colours = {kLightValue, kDarkValue}});
  PreviewStyle active{.layout = {1.0f, 1.0f, 40, 44}};
  Canvas drawn = Draw({ButtonItem(3, 2, button)}, active);
  EXPECT_EQ(drawn.Pixel(43, 46), kWhite);
  EXPECT_EQ(drawn.Pixel(44, 46), kBlack);
  EXPECT_EQ(drawn.Pixel(45, 46), kWhite);
  PreviewStyle inactive = active;
  inactive.activeButtons = false;
  Canvas filled = Draw({ButtonItem(3, 2, button)}, inactive);
  EXPECT_EQ(filled.Pixel(43, 46), kLightGrey);
  EXPECT_EQ(filled.Pixel(44, 46), kLightGrey);
}

TEST(HardKeyMarkers, SevenOrNineGreyKeysAtTheRightEdge) {
  Canvas plain(320, 307);
  DrawHardKeyMarkers(plain, {});
  // kw 60, left 250, kh 19, tops 19, 47, ..., 187.
  EXPECT_EQ(plain.Pixel(250, 19), kHardKeyMarkerGrey);
  EXPECT_EQ(plain.Pixel(309, 37), kHardKeyMarkerGrey);
  EXPECT_EQ(plain.Pixel(249, 19), kWhite);
  EXPECT_EQ(plain.Pixel(310, 19), kWhite);
  EXPECT_EQ(plain.Pixel(250, 18), kWhite);
  EXPECT_EQ(plain.Pixel(250, 38), kWhite);
  EXPECT_EQ(plain.Pixel(250, 47), kHardKeyMarkerGrey);
  EXPECT_EQ(plain.Pixel(250, 187), kHardKeyMarkerGrey);
  EXPECT_EQ(plain.Pixel(250, 215), kWhite);
  Canvas colour(320, 307);
  DrawHardKeyMarkers(colour, {.colourFormat = true});
  EXPECT_EQ(colour.Pixel(250, 243), kHardKeyMarkerGrey);
  EXPECT_EQ(colour.Pixel(250, 262), kWhite);
  Canvas small(160, 147);
  DrawHardKeyMarkers(small, {});
  EXPECT_EQ(small.Pixel(125, 9), kHardKeyMarkerGrey);
  EXPECT_EQ(small.Pixel(154, 17), kHardKeyMarkerGrey);
  EXPECT_EQ(small.Pixel(155, 9), kWhite);
  EXPECT_EQ(small.Pixel(125, 22), kHardKeyMarkerGrey);
}

TEST_F(Preview, ButtonImageIsScaledWithoutOffsetsAndNeverFilled) {
  uint32_t up = b_.AddBitmap({.width = 1, .height = 1, .depth = 2, .pixels = {1}});
  uint32_t down = b_.AddBitmap({.width = 1, .height = 1, .depth = 2, .pixels = {2}});
  uint32_t button = b_.AddButton({.bitmaps = {0, 0, up, down}, .colours = {0, kDarkValue}});
  uint32_t bare = PlainButton(5, 5, kDarkValue);
  image_ = CcfImage(b_.bytes(), "t.ccf");
  CcfReader reader(image_, messages_);
  Canvas canvas(kButtonImageWidth, kButtonImageHeight, kBlack);
  LayoutTransform layout{2.0f, 2.0f, 40, 44};
  DrawButtonImage(reader, button, false, true, layout, canvas, note_);
  EXPECT_EQ(canvas.Pixel(1, 1), kDarkGrey);
  EXPECT_EQ(canvas.Pixel(2, 0), kWhite);
  DrawButtonImage(reader, button, true, true, layout, canvas, note_);
  EXPECT_EQ(canvas.Pixel(0, 1), kLightGrey);
  DrawButtonImage(reader, bare, false, true, layout, canvas, note_);
  EXPECT_TRUE(
      std::ranges::equal(canvas.pixels(), Canvas(kButtonImageWidth, kButtonImageHeight).pixels()));
}

// A dialog that cannot be shown: the handler ends in an exception.
class ThrowingDialog : public FileDialog {
 public:
  std::optional<std::string> Run(std::string_view) override {
    throw std::runtime_error("no dialog");
  }
};

TEST(FileButtons, AreDisabledWhileTheirDialogIsOpenAndEnabledAfterwardsHoweverItEnds) {
  FormState form;
  common::RecordedMessages messages;
  std::vector<bool> seen;
  form.controlsChanged = [&] { seen.push_back(form.readFileBtnEnabled && form.goBtnEnabled); };
  FixedPathDialog cancelled(std::nullopt);
  EXPECT_FALSE(ReadFileBtnClick(form, cancelled, messages));
  EXPECT_FALSE(GoBtnClick(form, cancelled, messages));
  EXPECT_EQ(seen, (std::vector<bool>{false, false}));
  EXPECT_TRUE(form.readFileBtnEnabled);
  EXPECT_TRUE(form.goBtnEnabled);
  EXPECT_FALSE(form.ccfImage);
  ThrowingDialog throwing;
  EXPECT_THROW(ReadFileBtnClick(form, throwing, messages), std::runtime_error);
  EXPECT_THROW(GoBtnClick(form, throwing, messages), std::runtime_error);
  EXPECT_TRUE(form.readFileBtnEnabled);
  EXPECT_TRUE(form.goBtnEnabled);

  testing::ScratchDir dir;
  CcfBuilder b;
  ASSERT_TRUE(b.WriteFile(dir.File("in.ccf")));
  FixedPathDialog chosen(dir.File("in.ccf"));
  EXPECT_TRUE(ReadFileBtnClick(form, chosen, messages));
  EXPECT_TRUE(form.ccfImage);
  EXPECT_TRUE(form.goBtnDefault);
  FormDestroy(form);
  EXPECT_FALSE(form.ccfImage);
}

}  // namespace
}  // namespace velmora
