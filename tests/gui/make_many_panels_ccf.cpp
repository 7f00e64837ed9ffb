// Writes a CCF file with one device of 16 panels (one button each), one more
// than a database has categories: make_many_panels_ccf OUTPUT.ccf
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ccf_builder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_many_panels_ccf OUTPUT.ccf\n");
    return 2;
  }
  ccf_builder::CcfBuilder builder;
  std::vector<uint32_t> panels;
  for (int i = 1; i <= 16; ++i) {
    std::string name = "Panel " + std::to_string(i);
    uint32_t button = builder.AddButton({.width = 40, .height = 20, .label = name});
    panels.push_back(builder.AddPanel({name, {ccf_builder::ButtonItem(10, 10, button)}}));
  }
  builder.SetChain(ccf_builder::Chain::kDevices,
                   {builder.AddDevice({.name = "Many", .panels = panels})});
  return builder.WriteFile(argv[1]) ? 0 : 1;
}
