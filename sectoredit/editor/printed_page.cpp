#include "sectoredit/editor/printed_page.h"

#include <cstdio>

namespace sectoredit {

std::vector<std::string> PrintedPageLines(SectorNumber sector, SectorBytes bytes) {
  std::vector<std::string> lines;
  lines.push_back("Sector Number " + std::to_string(sector));
  lines.emplace_back();
  for (uint32_t row = 0; row < kSectorSize / 16; ++row) {
    const uint8_t* b = bytes.data() + 16 * row;
    char offset[8];
    std::snprintf(offset, sizeof offset, "%03X:", 16 * row);
    std::string line(offset);
    for (int i = 0; i < 16; ++i) {
      line += ' ';
      line += HexByte(b[i]);
      if (i == 7) line += " -";
    }
    line += ' ';
    line.append(reinterpret_cast<const char*>(b), 16);
    lines.push_back(std::move(line));
  }
  return lines;
}

bool PrintSectorPages(PageSurface& surface, SectorNumber sector, SectorBytes bytes, uint32_t copies,
                      int line_height) {
  const std::vector<std::string> lines = PrintedPageLines(sector, bytes);
  for (uint32_t copy = 0; copy < copies; ++copy) {
    if (!surface.StartPage()) return false;
    int y = 0;
    for (const std::string& line : lines) {
      if (!line.empty()) surface.DrawLine(y, line);
      y += line_height;
    }
    if (!surface.EndPage()) return false;
  }
  return true;
}

}  // namespace sectoredit
