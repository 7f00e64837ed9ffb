// libFuzzer target for the panel preview: the input is loaded as a CCF file,
// a scale mode is picked (by the input's size), every PanelList entry is
// clicked and the first buttons of each panel are shown in ButtonImage,
// normal and pressed. Checked: the preview lists exactly the buttons that the
// panel walk of the button listings finds; the hard-key markers lie over
// everything drawn; each click reports a read past the end of the file at most
// once, and the compressed-bitmap message is shown at most once in all (the
// preview never clears its note).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_walk.h"
#include "converter/ccf/layout_transform.h"
#include "converter/output/panel_walk.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"
#include "converter/ui/preview.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr size_t kMaxClicks = 32;
// Items walked per input, one full panel's worth, before the remaining panels
// are left unclicked: aliased item arrays let a small file list a great many.
constexpr size_t kMaxWalkedItems = velmora::kMaxPanelWalkItems;
constexpr size_t kMaxButtonsShown = 2;
constexpr size_t kScaleModes = 11;

size_t CountText(const common::RecordedMessages& messages, std::string_view text) {
  size_t count = 0;
  for (const auto& entry : messages.entries()) count += entry.text == text ? 1 : 0;
  return count;
}

// Runs one user operation with its own messages; it may report a read past
// the end once.
template <typename Operation>
void RunOperation(common::RecordedMessages& all, Operation operation) {
  common::RecordedMessages messages;
  operation(messages);
  FUZZ_CHECK(CountText(messages, velmora::kReadPastEndText) <= 1);
  for (const auto& entry : messages.entries()) all.Show(entry.text, entry.caption);
}

void SelectOnly(velmora::ListBoxState& list, size_t index) {
  while (auto selected = list.FirstSelected()) list.Select(*selected, false);
  list.Select(index);
}

void CheckHardKeyMarkers(const velmora::FormState& form) {
  if (!form.hkCheck) return;
  const velmora::Canvas& canvas = form.image1Canvas;
  velmora::HardKeyGeometry column = velmora::HardKeyColumn(
      canvas.width(), canvas.height(), form.format.colourFormat, velmora::MapTarget::kPreview);
  for (int key = 0; key < column.count; ++key) {
    if (column.width <= 0 || column.height <= 0) continue;
    const int64_t x = column.left + column.width / 2;
    const int64_t y = column.tops[static_cast<size_t>(key)] + column.height / 2;
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height()) continue;
    FUZZ_CHECK(canvas.Pixel(x, y) == velmora::kHardKeyMarkerGrey);
  }
}

// The panel walked again as the button listings walk it: the same buttons in
// the same order. Compared by offset, as both name a button through
// ButtonListEntry, so that the check does not build every entry again.
class ListedButtonsCheck : public velmora::PanelVisitor {
 public:
  explicit ListedButtonsCheck(const velmora::ListBoxState& list) : list_(list) {}
  void Button(const velmora::PanelItemVisit& item) override {
    FUZZ_CHECK(next_ < list_.size() && velmora::HexToOffset(list_[next_]) == item.object);
    ++next_;
  }
  void Frame(const velmora::PanelItemVisit&) override {}
  bool AllSeen() const { return next_ == list_.size(); }

 private:
  const velmora::ListBoxState& list_;
  size_t next_ = 0;
};

// Returns the number of items the panel holds.
size_t CheckButtonList(const velmora::FormState& form, size_t entry) {
  common::RecordedMessages ignored;
  velmora::CcfReader reader(*form.ccfImage, ignored);
  ListedButtonsCheck check(form.buttonList);
  const size_t items =
      velmora::VisitPanel(reader, velmora::HexToOffset(form.panelList[entry]), form.format, check);
  FUZZ_CHECK(check.AllSeen());
  return items;
}

// The first buttons' images, normal (the click) and pressed; the release
// draws what the click drew, so it runs once per panel.
void ShowButtons(velmora::FormState& form, common::RecordedMessages& all) {
  const size_t shown = std::min(form.buttonList.size(), kMaxButtonsShown);
  for (size_t i = 0; i < shown; ++i) {
    SelectOnly(form.buttonList, i);
    RunOperation(all, [&](auto& m) { velmora::ButtonListClick(form, m); });
    RunOperation(all, [&](auto& m) { velmora::ButtonImageMouseDown(form, m); });
  }
  if (shown > 0) RunOperation(all, [&](auto& m) { velmora::ButtonImageMouseUp(form, m); });
}

// The window keeps its two canvases for the whole run and clears them on each
// click; so does this target. Each input's form borrows them, cleared to the
// empty size a new form has, and hands them back: the sanitizer's allocator
// would otherwise map and fault in a fresh full-size preview per input.
class KeptCanvases {
 public:
  explicit KeptCanvases(velmora::FormState& form) : form_(form) {
    Swap();
    form_.image1Canvas.Reset(0, 0);
    form_.buttonImageCanvas.Reset(0, 0);
  }
  ~KeptCanvases() { Swap(); }
  KeptCanvases(const KeptCanvases&) = delete;
  KeptCanvases& operator=(const KeptCanvases&) = delete;

 private:
  void Swap() {
    static velmora::Canvas image1, buttonImage;
    std::swap(form_.image1Canvas, image1);
    std::swap(form_.buttonImageCanvas, buttonImage);
  }
  velmora::FormState& form_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velmora::FormState form;
  KeptCanvases canvases(form);
  common::RecordedMessages all;
  velmora::CcfImage image(std::vector<uint8_t>(data, data + size), "fuzz.ccf");
  if (!velmora::LoadCcfImage(form, std::move(image), all)) return 0;
  const int mode = static_cast<int>(size % kScaleModes);
  RunOperation(all, [&](auto& m) { velmora::ScaleComboChange(form, mode, m); });
  // The smallest preview: pixels past its edges are neither read nor drawn.
  RunOperation(all, [&](auto& m) { velmora::PreviewComboChange(form, 0, m); });
  size_t walked = 0;
  for (size_t entry = 0;
       entry < form.panelList.size() && entry < kMaxClicks && walked < kMaxWalkedItems; ++entry) {
    SelectOnly(form.panelList, entry);
    RunOperation(all, [&](auto& m) { velmora::PanelListClick(form, m); });
    walked += CheckButtonList(form, entry);
    CheckHardKeyMarkers(form);
    ShowButtons(form, all);
  }
  FUZZ_CHECK(CountText(all, velmora::kCompressedBitmapText) <= 1);
  return 0;
}
