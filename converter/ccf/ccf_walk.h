// The walks over CCF references, with the one rule that keeps damaged files
// from looping or exploding: every walk of the program uses these guards, so
// the loader, the preview, the counting walk and the record writer always
// agree on what a panel holds.
//
// - Chains (`next` references of devices and panels) and alias searches use a
//   VisitGuard: a reference met before ends the walk, and so does reaching
//   the cap on the number of records.
// - Frame recursion uses a PathGuard: a frame already on the current path, or
//   a frame at the depth cap, is visited but its children are not.
// - A panel walk visits at most kMaxPanelWalkItems items in all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"

namespace velmora {

inline constexpr size_t kMaxChainRecords = 65536;
inline constexpr int kMaxFrameDepth = 32;
inline constexpr size_t kMaxPanelWalkItems = 4096;

class VisitGuard {
 public:
  explicit VisitGuard(size_t maxRecords = kMaxChainRecords) : maxRecords_(maxRecords) {}
  // True the first time `offset` is met while under the cap; false ends the walk.
  bool FirstVisit(uint32_t offset);
  size_t visited() const { return seen_.size(); }

 private:
  size_t maxRecords_;
  std::unordered_set<uint32_t> seen_;
};

class PathGuard {
 public:
  explicit PathGuard(int maxDepth) : maxDepth_(maxDepth) {}
  // True when `offset` may be entered: not on the current path and the path
  // is shorter than the cap. Every successful Enter is paired with Leave.
  bool Enter(uint32_t offset);
  void Leave();
  int depth() const { return static_cast<int>(path_.size()); }

 private:
  int maxDepth_;
  std::vector<uint32_t> path_;
};

// Appends the panels of the device chain starting at `firstDevice`: for each
// panel, "PPPPPPPP - name" to `panelList` and "PPPPPPPP - DDDDDDDD" to
// `panelToDeviceList`. `devices` and `panels` are the guards of the whole load
// (one of each for all three chains), so a record is listed at most once.
void WalkDeviceChain(CcfReader& reader, uint32_t firstDevice, const CcfFormat& format,
                     VisitGuard& devices, VisitGuard& panels, std::vector<std::string>& panelList,
                     std::vector<std::string>& panelToDeviceList);

// One item of a panel walk.
struct PanelItemVisit {
  uint16_t x = 0;  // absolute position: the item's own plus its frames', summed as 16 bits
  uint16_t y = 0;
  uint32_t object = 0;    // FrameRecord or ButtonRecord offset, as stored
  bool isButton = false;  // kind byte non-zero
  int depth = 0;          // 0 for the panel's own items, 1 for their children, ...
};
using PanelItemVisitor = std::function<void(const PanelItemVisit&)>;

// Visits the items of the panel at `panel` depth first, pre-order, in array
// order: each frame right before its children. For each item it reads x, y,
// object and kind and calls `visit`; for a frame it then reads the child count
// and walks the children (unless the PathGuard rule stops it). A panel of 0
// visits nothing. Returns the number of items visited.
size_t WalkPanelItems(CcfReader& reader, uint32_t panel, const CcfFormat& format,
                      const PanelItemVisitor& visit);

}  // namespace velmora
