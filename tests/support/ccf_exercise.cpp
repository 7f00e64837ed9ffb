#include "tests/support/ccf_exercise.h"

#include <algorithm>
#include <string>
#include <utility>

#include "common/messages.h"
#include "converter/ccf/canvas.h"
#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ccf/ccf_walk.h"
#include "converter/ui/form_state.h"
#include "converter/ui/load.h"
#include "converter/ui/preview.h"

namespace ccf_exercise {
namespace {

using velmora::CcfReader;

void AppendMessages(common::RecordedMessages& messages, std::vector<std::string>& out) {
  for (std::string& line : messages.Lines()) out.push_back(std::move(line));
  messages.Clear();
}

// The preview's two surfaces, shared by the walks of one file as the window
// keeps its own between clicks.
struct PreviewCanvases {
  explicit PreviewCanvases(int side)
      : panel(side, side),
        button(std::min(side, velmora::kButtonImageWidth),
               std::min(side, velmora::kButtonImageHeight)) {}
  velmora::Canvas panel;
  velmora::Canvas button;
};

// What the walks of one file have used of their limits.
struct Spent {
  uint64_t decodes = 0;
  uint64_t items = 0;
};

// The walk of one panel, as one operation with its own reader.
class PanelWalk {
 public:
  PanelWalk(velmora::FormState& form, common::RecordedMessages& messages, const Limits& limits,
            Spent& spent, PreviewCanvases& canvases)
      : form_(form),
        reader_(*form.ccfImage, messages),
        limits_(limits),
        spent_(spent),
        canvases_(canvases) {}

  std::string Run(uint32_t panel) {
    if (limits_.drawPreview && spent_.decodes < limits_.maxBitmapDecodes) Preview(panel);
    const size_t items = velmora::WalkPanelItems(
        reader_, panel, form_.format, [this](const velmora::PanelItemVisit& item) { Visit(item); });
    HardKeys(velmora::DeviceOfPanel(form_.panelToDeviceList, panel));
    spent_.items += items;
    return velmora::OffsetToHex(panel) + ": " + std::to_string(items) + " items, " +
           std::to_string(irCodes_) + " IR codes, " + std::to_string(bitmaps_) + " bitmaps";
  }

 private:
  void Visit(const velmora::PanelItemVisit& item) {
    if (!item.isButton) {
      Bitmap(reader_.ReadU32(uint64_t{item.object} + velmora::kFrameBitmapField));
      return;
    }
    velmora::ReadButtonListName(reader_, item.object);
    Actions(reader_.ReadU32(uint64_t{item.object} + velmora::kButtonActionsField));
    for (bool active : {false, true}) {
      for (bool selected : {false, true}) {
        Bitmap(reader_.ReadU32(item.object + velmora::ButtonBitmapField(active, selected)));
      }
    }
  }

  void HardKeys(uint32_t device) {
    if (device == 0) return;
    for (int key = 0; key < velmora::HardKeyCount(form_.format); ++key) {
      Actions(reader_.ReadU32(uint64_t{device} + velmora::kDeviceHardKeysField + 4u * key));
    }
  }

  // The panel drawn with either button set, and each of its buttons' images,
  // normal and pressed, through the preview renderer.
  void Preview(uint32_t panel) {
    for (bool active : {true, false}) {
      const velmora::PreviewStyle style{form_.format, form_.layout, active, true};
      for (const std::string& button :
           velmora::DrawPanel(reader_, panel, style, canvases_.panel, form_.compressedNote)) {
        for (bool pressed : {false, true}) {
          // Each image decodes a bitmap: a panel of thousands of buttons
          // stays within the budget.
          if (spent_.decodes >= limits_.maxBitmapDecodes) return;
          ++spent_.decodes;
          velmora::DrawButtonImage(reader_, velmora::HexToOffset(button), pressed, active,
                                   form_.layout, canvases_.button, form_.compressedNote);
        }
      }
    }
  }

  // FindIrCode, then the Pronto words the IR conversion would read.
  void Actions(uint32_t actionList) {
    const uint32_t ir = velmora::FindIrCode(reader_, actionList, true);
    if (ir == 0) return;
    ++irCodes_;
    if (reader_.ReadU16(ir) == 0) return;
    const uint64_t words = ir + velmora::IrCodeWordsField(form_.format);
    const uint32_t pairs = uint32_t{reader_.ReadU16(words + 4)} + reader_.ReadU16(words + 6);
    const uint32_t count = std::min(4 + 2 * pairs, limits_.maxIrWords);
    for (uint32_t i = 0; i < count; ++i) reader_.ReadU16(words + 2 * i);
  }

  void Bitmap(uint32_t bitmap) {
    if (bitmap == 0) return;
    ++bitmaps_;
    if (spent_.decodes >= limits_.maxBitmapDecodes) return;
    ++spent_.decodes;
    const velmora::CcfBitmapHeader header = velmora::ReadCcfBitmapHeader(reader_, bitmap);
    if (uint64_t{header.width} * header.height <= limits_.maxRenderPixels) {
      velmora::RenderCcfBitmap(reader_, bitmap, form_.layout, form_.compressedNote);
    }
  }

  velmora::FormState& form_;
  CcfReader reader_;
  const Limits& limits_;
  Spent& spent_;
  PreviewCanvases& canvases_;
  size_t irCodes_ = 0;
  size_t bitmaps_ = 0;
};

}  // namespace

std::vector<std::string> ExerciseCcf(velmora::FormState& form, std::vector<uint8_t> bytes,
                                     const std::string& name, const Limits& limits) {
  common::RecordedMessages messages;
  std::vector<std::string> out = {"[load]"};
  const bool loaded =
      velmora::LoadCcfImage(form, velmora::CcfImage(std::move(bytes), name), messages);
  AppendMessages(messages, out);
  out.push_back("[PanelList]");
  for (const std::string& entry : form.panelList.items()) out.push_back(entry);
  out.push_back("[walk]");
  if (!loaded) return out;
  Spent spent;
  PreviewCanvases canvases(limits.canvasSide);
  for (const std::string& entry : form.panelList.items()) {
    if (spent.items >= limits.maxWalkedItems) break;
    if (velmora::IsChainHeading(entry)) continue;
    std::string summary =
        PanelWalk(form, messages, limits, spent, canvases).Run(velmora::HexToOffset(entry));
    AppendMessages(messages, out);
    out.push_back(std::move(summary));
  }
  return out;
}

std::vector<std::string> ExerciseCcf(std::vector<uint8_t> bytes, const std::string& name,
                                     const Limits& limits) {
  velmora::FormState form;
  return ExerciseCcf(form, std::move(bytes), name, limits);
}

}  // namespace ccf_exercise
