#include "converter/ui/panel_walk.h"

#include <algorithm>

namespace velmora {
namespace {

uint16_t FindKeyPart(const IconList& icons, std::string_view digits, size_t from) {
  auto matches = [&](const std::string& key) {
    return key.size() >= from + 8 && std::string_view(key).substr(from, 8) == digits;
  };
  auto found = std::find_if(icons.begin(), icons.end(), matches);
  if (found == icons.end()) return 0xFFFF;
  // References from 0xFFFE up are style values, so later positions never match.
  auto position = static_cast<size_t>(found - icons.begin());
  if (position + kIconRefBase >= 0xFFFE) return 0xFFFF;
  return static_cast<uint16_t>(position + kIconRefBase);
}

class CountingVisitor : public PanelVisitor {
 public:
  CountingVisitor(CcfReader& reader, const ButtonBitmapChoice& choice, IconList& icons)
      : reader_(reader), choice_(choice), icons_(icons) {}

  void Button(const PanelItemVisit& item) override {
    RegisterButtonIcons(reader_, item.object, choice_, icons_);
  }
  void Frame(const PanelItemVisit& item) override {
    RegisterIcon(icons_, reader_.ReadU32(uint64_t{item.object} + kFrameBitmapField), 0);
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

void RegisterIcon(IconList& icons, uint32_t bitmap, uint32_t unselected) {
  if (bitmap == 0) return;
  std::string key = OffsetToHex(bitmap);
  if (unselected != 0) key += OffsetToHex(unselected);
  if (std::find(icons.begin(), icons.end(), key) == icons.end()) icons.push_back(std::move(key));
}

uint16_t FindIconRef(const IconList& icons, std::string_view digits) {
  return FindKeyPart(icons, digits, 0);
}

uint16_t FindPressedIconRef(const IconList& icons, std::string_view digits) {
  return FindKeyPart(icons, digits, 8);
}

void RegisterButtonIcons(CcfReader& reader, uint32_t button, const ButtonBitmapChoice& choice,
                         IconList& icons) {
  uint32_t unselected = reader.ReadU32(button + ButtonBitmapField(choice.active, false));
  RegisterIcon(icons, unselected, 0);
  if (!choice.pressed) return;
  RegisterIcon(icons, reader.ReadU32(button + ButtonBitmapField(choice.active, true)), unselected);
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
  return OffsetToHex(button) + " - " + ReadButtonListName(reader, button);
}

}  // namespace velmora
