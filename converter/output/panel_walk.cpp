#include "converter/output/panel_walk.h"

namespace velmora {
namespace {

class CountingVisitor : public PanelVisitor {
 public:
  CountingVisitor(CcfReader& reader, const ButtonBitmapChoice& choice, IconList& icons)
      : reader_(reader), choice_(choice), icons_(icons) {}

  void Button(const PanelItemVisit& item) override {
    RegisterButtonIcons(reader_, item.object, choice_, icons_);
  }
  void Frame(const PanelItemVisit& item) override {
    icons_.Register(reader_.ReadU32(uint64_t{item.object} + kFrameBitmapField), 0);
  }

 private:
  CcfReader& reader_;
  const ButtonBitmapChoice& choice_;
  IconList& icons_;
};

class ListingVisitor : public PanelVisitor {
 public:
  explicit ListingVisitor(CcfReader& reader) : reader_(reader) {}

  void Button(const PanelItemVisit& item) override {
    entries_.push_back(ButtonListEntry(reader_, item.object));
  }
  void Frame(const PanelItemVisit&) override {}

  std::vector<std::string> Take() { return std::move(entries_); }

 private:
  CcfReader& reader_;
  std::vector<std::string> entries_;
};

}  // namespace

void RegisterButtonIcons(CcfReader& reader, uint32_t button, const ButtonBitmapChoice& choice,
                         IconList& icons) {
  uint32_t unselected = reader.ReadU32(button + ButtonBitmapField(choice.active, false));
  icons.Register(unselected, 0);
  if (!choice.pressed) return;
  icons.Register(reader.ReadU32(button + ButtonBitmapField(choice.active, true)), unselected);
}

size_t VisitPanel(CcfReader& reader, uint32_t panel, const CcfFormat& format,
                  PanelVisitor& visitor) {
  return WalkPanelItems(reader, panel, format, [&visitor](const PanelItemVisit& item) {
    if (item.isButton) {
      visitor.Button(item);
    } else {
      visitor.Frame(item);
    }
  });
}

uint32_t CountPanelItems(CcfReader& reader, uint32_t panel, const CcfFormat& format,
                         const ButtonBitmapChoice& choice, IconList& icons) {
  CountingVisitor counter(reader, choice, icons);
  return static_cast<uint32_t>(VisitPanel(reader, panel, format, counter));
}

std::vector<std::string> ListPanelButtons(CcfReader& reader, uint32_t panel,
                                          const CcfFormat& format) {
  ListingVisitor lister(reader);
  VisitPanel(reader, panel, format, lister);
  return lister.Take();
}

std::string ButtonListEntry(CcfReader& reader, uint32_t button) {
  return ListEntry(button, ReadButtonListName(reader, button));
}

}  // namespace velmora
