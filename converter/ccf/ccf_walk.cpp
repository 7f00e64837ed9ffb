#include "converter/ccf/ccf_walk.h"

#include <algorithm>

namespace velmora {

namespace {

class PanelWalk {
 public:
  PanelWalk(CcfReader& reader, const CcfFormat& format, const PanelItemVisitor& visit)
      : reader_(reader), format_(format), visit_(visit), frames_(kMaxFrameDepth) {}

  void WalkArray(uint64_t array, uint8_t count, uint16_t parentX, uint16_t parentY, int depth) {
    for (uint64_t i = 0; i < count && visited_ < kMaxPanelWalkItems; ++i) {
      WalkItem(array + kPanelItemSize * i, parentX, parentY, depth);
    }
  }

  size_t visited() const { return visited_; }

 private:
  void WalkItem(uint64_t entry, uint16_t parentX, uint16_t parentY, int depth) {
    PanelItemVisit item;
    item.x = static_cast<uint16_t>(parentX + reader_.ReadU16(entry));
    item.y = static_cast<uint16_t>(parentY + reader_.ReadU16(entry + 2));
    item.object = reader_.ReadU32(entry + 4);
    item.isButton = reader_.ReadU8(entry + 8) != 0;
    item.depth = depth;
    ++visited_;
    visit_(item);
    if (item.isButton || !frames_.Enter(item.object)) return;
    uint8_t children = reader_.ReadU8(uint64_t{item.object} + FrameChildCountField(format_));
    WalkArray(uint64_t{item.object} + FrameChildrenField(format_), children, item.x, item.y,
              depth + 1);
    frames_.Leave();
  }

  CcfReader& reader_;
  const CcfFormat& format_;
  const PanelItemVisitor& visit_;
  PathGuard frames_;
  size_t visited_ = 0;
};

}  // namespace

bool VisitGuard::FirstVisit(uint32_t offset) {
  if (seen_.size() >= maxRecords_) return false;
  return seen_.insert(offset).second;
}

bool PathGuard::Enter(uint32_t offset) {
  if (depth() >= maxDepth_) return false;
  if (std::find(path_.begin(), path_.end(), offset) != path_.end()) return false;
  path_.push_back(offset);
  return true;
}

void PathGuard::Leave() {
  if (!path_.empty()) path_.pop_back();
}

void WalkDeviceChain(CcfReader& reader, uint32_t firstDevice, const CcfFormat& format,
                     VisitGuard& devices, VisitGuard& panels, std::vector<std::string>& panelList,
                     std::vector<std::string>& panelToDeviceList) {
  for (uint32_t d = firstDevice; d != 0 && devices.FirstVisit(d); d = reader.ReadU32(d)) {
    uint32_t p = reader.ReadU32(uint64_t{d} + DeviceFirstPanelField(format));
    for (; p != 0 && panels.FirstVisit(p); p = reader.ReadU32(p)) {
      std::string name =
          reader.ReadCcfString(uint64_t{p} + kPanelNameField, kPanelNameCapacity, true);
      panelList.push_back(ListEntry(p, name));
      panelToDeviceList.push_back(ListEntry(p, OffsetToHex(d)));
    }
  }
}

size_t WalkPanelItems(CcfReader& reader, uint32_t panel, const CcfFormat& format,
                      const PanelItemVisitor& visit) {
  if (panel == 0) return 0;
  PanelWalk walk(reader, format, visit);
  uint8_t count = reader.ReadU8(uint64_t{panel} + kPanelItemCountField);
  walk.WalkArray(uint64_t{panel} + kPanelItemsField, count, 0, 0, 0);
  return walk.visited();
}

}  // namespace velmora
