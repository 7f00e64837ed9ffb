#include "converter/ui/load.h"

#include "converter/ccf/ccf_walk.h"

namespace velmora {

namespace {

struct ChainHeading {
  uint64_t headerField;
  const char* heading;
};
inline constexpr ChainHeading kChains[] = {
    {kHomeChainOffset, kHomeHeading},
    {kDeviceChainOffset, kDevicesHeading},
    {kMacroChainOffset, kMacrosHeading},
};

// Both magic fields; the reads show no message of their own.
bool CheckMagic(const CcfImage& image, common::Messages& messages) {
  if (!image.BytesEqual(kMagic1Offset, kMagic)) {
    messages.Show(kMissingMagic1Text, kNotCcfCaption);
    return false;
  }
  if (!image.BytesEqual(kMagic2Offset, kMagic)) {
    messages.Show(kMissingMagic2Text, kNotCcfCaption);
    return false;
  }
  return true;
}

void ClearFileLists(FormState& form) {
  form.panelList.Clear();
  form.categoryList.Clear();
  form.buttonList.Clear();
  form.unfiledList.Clear();
  form.iconList.Clear();
  form.panelToDeviceList.clear();
}

// Fills PanelList and PanelToDeviceList from the three chains.
void ListPanels(FormState& form, common::Messages& messages) {
  CcfReader reader(*form.ccfImage, messages);
  form.format = FormatFromAttributes(reader.ReadU32(kAttributeOffset));
  VisitGuard devices, panels;
  std::vector<std::string> panelList;
  for (const ChainHeading& chain : kChains) {
    uint32_t first = reader.ReadU32(chain.headerField);
    panelList.push_back(chain.heading);
    WalkDeviceChain(reader, first, form.format, devices, panels, panelList, form.panelToDeviceList);
  }
  for (std::string& entry : panelList) form.panelList.Add(std::move(entry));
}

}  // namespace

bool LoadCcfImage(FormState& form, CcfImage image, common::Messages& messages) {
  form.readFileBtnEnabled = false;
  bool accepted = CheckMagic(image, messages);
  if (accepted) {
    form.ccfImage = std::move(image);
    ClearFileLists(form);
    ListPanels(form, messages);
    form.readFileBtnDefault = false;
    form.goBtnDefault = true;
  }
  form.readFileBtnEnabled = true;
  return accepted;
}

bool LoadCcfFile(FormState& form, const std::string& path, common::Messages& messages) {
  std::optional<CcfImage> image = CcfImage::Open(path);
  if (!image) {
    messages.Show(kOpenFailedText + path, kFileErrorCaption);
    form.readFileBtnEnabled = true;
    return false;
  }
  return LoadCcfImage(form, std::move(*image), messages);
}

}  // namespace velmora
