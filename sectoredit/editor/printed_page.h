// The text of the printed sector page: a heading, a blank line and 32 rows of
// 71 characters (offset, sixteen bytes in hex split by a dash, the raw bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sectoredit/editor/sector_view.h"

namespace sectoredit {

inline constexpr size_t kPageRowLength = 71;

// The page's lines in order, the blank one included; the character columns
// hold the bytes unchanged.
std::vector<std::string> PrintedPageLines(SectorNumber sector, SectorBytes bytes);

// Where the printed pages go: a printer's device context, or a recorder in tests.
class PageSurface {
 public:
  virtual ~PageSurface() = default;
  // Each false when the device refused the page.
  virtual bool StartPage() = 0;
  // Draws `text` at the left edge, `y` device units from the top.
  virtual void DrawLine(int y, std::string_view text) = 0;
  virtual bool EndPage() = 0;
};

// One identical page per copy, each from the top: the heading, a blank line,
// then the rows, `line_height` apart. Stops at a page the device refuses to
// start or end, and returns false then.
bool PrintSectorPages(PageSurface& surface, SectorNumber sector, SectorBytes bytes, uint32_t copies,
                      int line_height);

}  // namespace sectoredit
