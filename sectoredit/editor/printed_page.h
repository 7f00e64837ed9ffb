// The text of the printed sector page: a heading, a blank line and 32 rows of
// 71 characters (offset, sixteen bytes in hex split by a dash, the raw bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sectoredit/editor/sector_view.h"

namespace sectoredit {

inline constexpr size_t kPageRowLength = 71;

// The page's lines in order, the blank one included; the character columns
// hold the bytes unchanged.
std::vector<std::string> PrintedPageLines(uint32_t sector, SectorBytes bytes);

}  // namespace sectoredit
