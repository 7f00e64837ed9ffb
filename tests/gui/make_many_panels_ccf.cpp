// Writes a CCF file with one device of many panels: by default 16 panels of
// one button each, one more than a database has categories.
//   make_many_panels_ccf OUTPUT.ccf [PANELS [BUTTONS]]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/ccf_builder.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: make_many_panels_ccf OUTPUT.ccf [PANELS [BUTTONS]]\n");
    return 2;
  }
  int panelCount = argc > 2 ? std::atoi(argv[2]) : 16;
  int buttonCount = argc > 3 ? std::atoi(argv[3]) : 1;
  ccf_builder::CcfBuilder builder;
  std::vector<uint32_t> panels;
  for (int i = 1; i <= panelCount; ++i) {
    std::string name = "Panel " + std::to_string(i);
    std::vector<ccf_builder::PanelItem> items;
    for (int k = 0; k < buttonCount; ++k) {
      std::string label = k == 0 ? name : name + "." + std::to_string(k);
      uint32_t button = builder.AddButton({.width = 40, .height = 20, .label = label});
      items.push_back(ccf_builder::ButtonItem(10, static_cast<uint16_t>(10 + 2 * k), button));
    }
    panels.push_back(builder.AddPanel({name, items}));
  }
  builder.SetChain(ccf_builder::Chain::kDevices,
                   {builder.AddDevice({.name = "Many", .panels = panels})});
  return builder.WriteFile(argv[1]) ? 0 : 1;
}
