// Redraws of the panel preview, as a panel click does them: the largest panel
// of the bundled sample (target: under 2 ms a redraw) and a stress panel of
// 255 buttons with distinct 8-bit bitmaps. Prints the median and the slowest
// of the timed redraws. Not a test: the figures are for people.
//
//   preview_bench SAMPLE.ccf
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "converter/output/panel_walk.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"
#include "tests/support/ccf_builder.h"

namespace {

using ccf_builder::ButtonItem;

constexpr int kRedraws = 200;
constexpr double kSampleTargetMs = 2.0;

struct Timing {
  double medianMs;
  double slowestMs;
};

// Times DrawSelectedPanel for the PanelList entry at `index`.
Timing TimeRedraws(velmora::FormState& form, size_t index, common::Messages& messages) {
  form.panelList.Select(index);
  std::vector<double> times;
  for (int i = 0; i < kRedraws; ++i) {
    auto start = std::chrono::steady_clock::now();
    velmora::DrawSelectedPanel(form, messages);
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.back()};
}

// The panel entry with the most items, frame children included.
size_t LargestPanel(velmora::FormState& form, common::Messages& messages, uint32_t& items) {
  velmora::CcfReader reader(*form.ccfImage, messages);
  size_t largest = 0;
  items = 0;
  for (size_t i = 0; i < form.panelList.size(); ++i) {
    velmora::IconList icons;
    uint32_t count = velmora::CountPanelItems(reader, velmora::HexToOffset(form.panelList[i]),
                                              form.format, {}, icons);
    if (count > items) std::tie(largest, items) = std::pair{i, count};
  }
  return largest;
}

// 255 buttons of 40 x 30 with distinct 8-bit bitmaps, in a grid over the
// Pronto screen (later ones overlap earlier ones).
std::vector<uint8_t> StressPanel() {
  ccf_builder::CcfBuilder b({.colourFormat = true});
  std::vector<ccf_builder::PanelItem> items;
  for (int i = 0; i < 255; ++i) {
    ccf_builder::Bitmap bitmap{.width = 40, .height = 30, .depth = 8};
    for (int p = 0; p < 40 * 30; ++p) bitmap.pixels.push_back(static_cast<uint8_t>(p + i));
    uint32_t face = b.AddBitmap(bitmap);
    uint32_t button = b.AddButton({.width = 40, .height = 30, .bitmaps = {face, face, face, face}});
    items.push_back(ButtonItem(static_cast<uint16_t>(i % 6 * 40),
                               static_cast<uint16_t>(i / 6 % 7 * 30), button));
  }
  uint32_t panel = b.AddPanel({"Stress", items});
  b.SetChain(ccf_builder::Chain::kDevices, {b.AddDevice({.name = "D", .panels = {panel}})});
  return b.bytes();
}

void Report(const char* what, uint32_t items, const Timing& t) {
  std::printf("%s (%u items): median %.3f ms, slowest %.3f ms a redraw\n", what, items, t.medianMs,
              t.slowestMs);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: preview_bench SAMPLE.ccf\n";
    return 1;
  }
  common::StreamMessages messages(std::cerr, false);
  velmora::FormState sample;
  if (!velmora::LoadCcfFile(sample, argv[1], messages)) return 1;
  uint32_t items = 0;
  size_t largest = LargestPanel(sample, messages, items);
  Timing sampleTiming = TimeRedraws(sample, largest, messages);
  Report(("sample's largest panel, " + sample.panelList[largest]).c_str(), items, sampleTiming);
  std::printf("target: under %.0f ms: %s\n", kSampleTargetMs,
              sampleTiming.medianMs < kSampleTargetMs ? "met" : "MISSED");

  velmora::FormState stress;
  if (!velmora::LoadCcfImage(stress, velmora::CcfImage(StressPanel(), "stress.ccf"), messages)) {
    return 1;
  }
  size_t stressPanel = LargestPanel(stress, messages, items);
  Report("stress panel of 8-bit bitmaps", items, TimeRedraws(stress, stressPanel, messages));
  return 0;
}
