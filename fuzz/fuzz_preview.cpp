// libFuzzer target for the panel preview: the input is loaded as a CCF file,
// a scale mode is picked (by the input's size), every PanelList entry is
// clicked and the first buttons of each panel are shown in ButtonImage,
// normal and pressed. Checked: the preview lists exactly the buttons that the
// generation's walk finds in the panel; the hard-key markers lie over
// everything drawn; each click reports a read past the end of the file at most
// once, and the compressed-bitmap message is shown at most once in all (the
// preview never clears its note).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/layout_transform.h"
#include "converter/output/panel_walk.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"
#include "converter/ui/preview.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr size_t kMaxClicks = 32;
constexpr size_t kMaxButtonsShown = 4;
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

void CheckButtonList(const velmora::FormState& form, size_t entry) {
  common::RecordedMessages ignored;
  velmora::CcfReader reader(*form.ccfImage, ignored);
  const uint32_t panel = velmora::HexToOffset(form.panelList[entry]);
  FUZZ_CHECK(form.buttonList.items() == velmora::ListPanelButtons(reader, panel, form.format));
}

void ShowButtons(velmora::FormState& form, common::RecordedMessages& all) {
  for (size_t i = 0; i < form.buttonList.size() && i < kMaxButtonsShown; ++i) {
    SelectOnly(form.buttonList, i);
    RunOperation(all, [&](auto& m) { velmora::ButtonListClick(form, m); });
    RunOperation(all, [&](auto& m) { velmora::ButtonImageMouseDown(form, m); });
    RunOperation(all, [&](auto& m) { velmora::ButtonImageMouseUp(form, m); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velmora::FormState form;
  common::RecordedMessages all;
  velmora::CcfImage image(std::vector<uint8_t>(data, data + size), "fuzz.ccf");
  if (!velmora::LoadCcfImage(form, std::move(image), all)) return 0;
  const int mode = static_cast<int>(size % kScaleModes);
  RunOperation(all, [&](auto& m) { velmora::ScaleComboChange(form, mode, m); });
  // The smallest preview: pixels past its edges are neither read nor drawn.
  RunOperation(all, [&](auto& m) { velmora::PreviewComboChange(form, 0, m); });
  for (size_t entry = 0; entry < form.panelList.size() && entry < kMaxClicks; ++entry) {
    SelectOnly(form.panelList, entry);
    RunOperation(all, [&](auto& m) { velmora::PanelListClick(form, m); });
    CheckButtonList(form, entry);
    CheckHardKeyMarkers(form);
    ShowButtons(form, all);
  }
  FUZZ_CHECK(CountText(all, velmora::kCompressedBitmapText) <= 1);
  return 0;
}
