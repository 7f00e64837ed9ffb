#include "converter/ui/form_handlers.h"

#include "converter/output/generation.h"
#include "converter/ui/panel_walk.h"

namespace velmora {
namespace {

bool IsHeading(const std::string& entry) { return !entry.empty() && entry[0] == '-'; }

// Appends the selected, non-heading entries of `source` that `destination`
// does not hold yet. Returns false when it stopped at the limit.
bool CopySelected(const ListBoxState& source, ListBoxState& destination, size_t limit) {
  for (size_t i = 0; i < source.size(); ++i) {
    if (!source.IsSelected(i) || IsHeading(source[i]) || destination.Contains(source[i])) {
      continue;
    }
    if (destination.size() >= limit) return false;
    destination.Add(source[i]);
  }
  return true;
}

void DeleteSelected(ListBoxState& list) {
  for (size_t i = list.size(); i-- > 0;) {
    if (list.IsSelected(i)) list.Delete(i);
  }
}

// The panel of the first selected PanelList entry; 0 for a heading or none.
uint32_t SelectedPanel(const FormState& form) {
  std::optional<size_t> first = form.panelList.FirstSelected();
  if (!first || IsHeading(form.panelList[*first])) return 0;
  return HexToOffset(form.panelList[*first]);
}

// With hard keys the panel starts at the left edge and leaves the right edge
// to the hard-key column; only the 320x320 preview is that wide.
void ApplyHardKeyOffsetRule(FormState& form) {
  // assign(count, char): GCC 12's -Wrestrict misreads the copy of a literal here.
  if (form.hkCheck && form.image1.width >= 320) form.layoutEdits.offsetX.assign(1, '0');
}

const CcfImage& CurrentImage(const FormState& form) {
  static const CcfImage kNoImage;
  return form.ccfImage ? *form.ccfImage : kNoImage;
}

GenerationRequest RequestFromForm(const FormState& form) {
  GenerationRequest request;
  request.image = form.ccfImage ? &*form.ccfImage : nullptr;
  request.format = form.format;
  request.categoryEntries = form.categoryList.items();
  request.unfiledEntries = form.unfiledList.items();
  request.panelToDeviceList = form.panelToDeviceList;
  request.layout = form.layout;
  request.activeButtons = form.activeButtonsCheck;
  request.pressedButtons = form.clickedButtonsCheck;
  request.includeText = form.includeTextCheck;
  request.includeIr = form.includeIrCheck;
  request.hardKeys = form.hkCheck;
  request.imageWidth = form.image1.width;
  request.imageHeight = form.image1.height;
  return request;
}

}  // namespace

void AddPanelBtnClick(FormState& form, common::Messages& messages) {
  if (!CopySelected(form.panelList, form.categoryList, kMaxCategoryEntries)) {
    messages.Show(kTooManyCategoriesText, kTooManyCategoriesCaption);
  }
}

void DelPanelBtnClick(FormState& form) { DeleteSelected(form.categoryList); }

void ButtonAddBtnClick(FormState& form) {
  CopySelected(form.buttonList, form.unfiledList, SIZE_MAX);
}

void ButtonDelBtnClick(FormState& form) { DeleteSelected(form.unfiledList); }

void DrawSelectedPanel(FormState& form, PreviewDrawer& drawer, common::Messages& messages) {
  form.buttonList.Clear();
  CcfReader reader(CurrentImage(form), messages);
  uint32_t panel = SelectedPanel(form);
  for (std::string& entry : ListPanelButtons(reader, panel, form.format)) {
    form.buttonList.Add(std::move(entry));
  }
  drawer.DrawPanel(form, reader, panel);
}

void PanelListClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages) {
  if (!ReadLayoutEdits(form.layoutEdits, form.layout, form.decimalSeparator, messages)) return;
  DrawSelectedPanel(form, drawer, messages);
}

void RefreshBtnClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages) {
  PanelListClick(form, drawer, messages);
}

void PlacePreviewImage(FormState& form) {
  int index = form.previewComboIndex;
  if (index < 0 || static_cast<size_t>(index) >= PreviewSizes.size()) return;
  const PreviewSize& size = PreviewSizes[static_cast<size_t>(index)];
  form.image1 = {size.left, size.top, size.width, size.height};
}

void ApplyScaleMode(FormState& form, PreviewDrawer& drawer, common::Messages& messages) {
  int index = form.scaleComboIndex;
  if (index < 0 || static_cast<size_t>(index) >= ScaleModeTable.size()) return;
  form.layoutEdits = ScaleModeEdits(index, form.decimalSeparator);
  form.previewComboIndex = ScaleModeTable[static_cast<size_t>(index)].previewIndex;
  PlacePreviewImage(form);
  ApplyHardKeyOffsetRule(form);
  RefreshBtnClick(form, drawer, messages);
}

void ScaleComboChange(FormState& form, int index, PreviewDrawer& drawer,
                      common::Messages& messages) {
  form.scaleComboIndex = index;
  ApplyScaleMode(form, drawer, messages);
}

void PreviewComboChange(FormState& form, int index, PreviewDrawer& drawer,
                        common::Messages& messages) {
  form.previewComboIndex = index;
  PlacePreviewImage(form);
  ApplyHardKeyOffsetRule(form);
  RefreshBtnClick(form, drawer, messages);
}

void HKCheckClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages) {
  if (form.hkCheck) SetIncludeIRCheck(form, true, drawer, messages);
  ApplyScaleMode(form, drawer, messages);
}

void IncludeIRCheckClick(FormState& form, PreviewDrawer& drawer, common::Messages& messages) {
  if (!form.includeIrCheck) SetHKCheck(form, false, drawer, messages);
}

void SetHKCheck(FormState& form, bool checked, PreviewDrawer& drawer, common::Messages& messages) {
  if (form.hkCheck == checked) return;
  form.hkCheck = checked;
  HKCheckClick(form, drawer, messages);
}

void SetIncludeIRCheck(FormState& form, bool checked, PreviewDrawer& drawer,
                       common::Messages& messages) {
  if (form.includeIrCheck == checked) return;
  form.includeIrCheck = checked;
  IncludeIRCheckClick(form, drawer, messages);
}

bool GoBtnClick(FormState& form, SaveFileDialog& dialog, common::Messages& messages) {
  GenerationRun run;
  run.compressedNote = &form.compressedNote;
  run.ClearWarnings();
  std::optional<std::string> path = dialog.Run(kDefaultDatabaseFileName);
  if (!path) return false;
  if (!ReadLayoutEdits(form.layoutEdits, form.layout, form.decimalSeparator, messages)) {
    return false;
  }
  return GenerateDatabase(RequestFromForm(form), *path, form.iconList, run, messages);
}

}  // namespace velmora
