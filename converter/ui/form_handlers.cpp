#include "converter/ui/form_handlers.h"

#include "converter/output/generation.h"
#include "converter/output/panel_walk.h"
#include "converter/ui/load.h"
#include "converter/ui/preview.h"

namespace velmora {
namespace {

// Appends the selected, non-heading entries of `source` that `destination`
// does not hold yet. Returns false when it stopped at the limit.
bool CopySelected(const ListBoxState& source, ListBoxState& destination, size_t limit) {
  for (size_t i : source.selection()) {
    if (IsChainHeading(source[i]) || destination.Contains(source[i])) continue;
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

// The object of the first selected entry of `list`; 0 for a heading or none.
uint32_t FirstSelectedObject(const ListBoxState& list) {
  std::optional<size_t> first = list.FirstSelected();
  if (!first || IsChainHeading(list[*first])) return 0;
  return HexToOffset(list[*first]);
}

void ShowControls(const FormState& form) {
  if (form.controlsChanged) form.controlsChanged();
}

// Disables a button for the duration of its handler and enables it again
// however the handler ends, an exception included.
class ButtonDisabled {
 public:
  ButtonDisabled(const FormState& form, bool& enabled) : enabled_(enabled) {
    enabled_ = false;
    ShowControls(form);
  }
  ~ButtonDisabled() { enabled_ = true; }
  ButtonDisabled(const ButtonDisabled&) = delete;
  ButtonDisabled& operator=(const ButtonDisabled&) = delete;

 private:
  bool& enabled_;
};

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
  request.convertRc6 = form.convertRc6;
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

bool ReadFileBtnClick(FormState& form, FileDialog& dialog, common::Messages& messages) {
  ButtonDisabled busy(form, form.readFileBtnEnabled);
  std::optional<std::string> path = dialog.Run("");
  return path && LoadCcfFile(form, *path, messages);
}

void FormDestroy(FormState& form) { form.ccfImage.reset(); }

void DrawSelectedPanel(FormState& form, common::Messages& messages) {
  form.image1Canvas.Reset(form.image1.width, form.image1.height);
  CcfReader reader(CurrentImage(form), messages);
  PreviewStyle style{form.format, form.layout, form.activeButtonsCheck, form.hkCheck};
  form.buttonList.Assign(DrawPanel(reader, FirstSelectedObject(form.panelList), style,
                                   form.image1Canvas, form.compressedNote));
}

void ListSelectedPanelButtons(FormState& form, common::Messages& messages) {
  CcfReader reader(CurrentImage(form), messages);
  form.buttonList.Assign(
      ListPanelButtons(reader, FirstSelectedObject(form.panelList), form.format));
}

void ShowButtonImage(FormState& form, bool pressed, common::Messages& messages) {
  form.buttonImageCanvas.Reset(kButtonImageWidth, kButtonImageHeight);
  CcfReader reader(CurrentImage(form), messages);
  DrawButtonImage(reader, FirstSelectedObject(form.buttonList), pressed, form.activeButtonsCheck,
                  form.layout, form.buttonImageCanvas, form.compressedNote);
}

void ButtonListClick(FormState& form, common::Messages& messages) {
  ShowButtonImage(form, false, messages);
}

void ButtonImageMouseDown(FormState& form, common::Messages& messages) {
  ShowButtonImage(form, true, messages);
}

void ButtonImageMouseUp(FormState& form, common::Messages& messages) {
  ShowButtonImage(form, false, messages);
}

bool PanelListClick(FormState& form, common::Messages& messages) {
  if (!ReadLayoutEdits(form.layoutEdits, form.layout, form.decimalSeparator, messages)) {
    return false;
  }
  DrawSelectedPanel(form, messages);
  return true;
}

void RefreshBtnClick(FormState& form, common::Messages& messages) {
  PanelListClick(form, messages);
}

void PlacePreviewImage(FormState& form) {
  int index = form.previewComboIndex;
  if (index < 0 || static_cast<size_t>(index) >= PreviewSizes.size()) return;
  const PreviewSize& size = PreviewSizes[static_cast<size_t>(index)];
  form.image1 = {size.left, size.top, size.width, size.height};
}

void ApplyScaleMode(FormState& form, common::Messages& messages) {
  int index = form.scaleComboIndex;
  if (index < 0 || static_cast<size_t>(index) >= ScaleModeTable.size()) return;
  form.layoutEdits = ScaleModeEdits(index, form.decimalSeparator);
  form.previewComboIndex = ScaleModeTable[static_cast<size_t>(index)].previewIndex;
  PlacePreviewImage(form);
  ApplyHardKeyOffsetRule(form);
  RefreshBtnClick(form, messages);
}

void ScaleComboChange(FormState& form, int index, common::Messages& messages) {
  form.scaleComboIndex = index;
  ApplyScaleMode(form, messages);
}

void PreviewComboChange(FormState& form, int index, common::Messages& messages) {
  form.previewComboIndex = index;
  PlacePreviewImage(form);
  ApplyHardKeyOffsetRule(form);
  RefreshBtnClick(form, messages);
}

void HKCheckClick(FormState& form, common::Messages& messages) {
  if (form.hkCheck) SetIncludeIRCheck(form, true, messages);
  ApplyScaleMode(form, messages);
}

void IncludeIRCheckClick(FormState& form, common::Messages& messages) {
  if (!form.includeIrCheck) SetHKCheck(form, false, messages);
}

void SetHKCheck(FormState& form, bool checked, common::Messages& messages) {
  if (form.hkCheck == checked) return;
  form.hkCheck = checked;
  HKCheckClick(form, messages);
}

void SetIncludeIRCheck(FormState& form, bool checked, common::Messages& messages) {
  if (form.includeIrCheck == checked) return;
  form.includeIrCheck = checked;
  IncludeIRCheckClick(form, messages);
}

bool GoBtnClick(FormState& form, FileDialog& dialog, common::Messages& messages) {
  GenerationRun run;
  run.compressedNote = &form.compressedNote;
  run.ClearWarnings();
  ButtonDisabled busy(form, form.goBtnEnabled);
  std::optional<std::string> path = dialog.Run(kDefaultDatabaseFileName);
  return path && ReadLayoutEdits(form.layoutEdits, form.layout, form.decimalSeparator, messages) &&
         GenerateDatabase(RequestFromForm(form), *path, form.iconList, run, messages);
}

}  // namespace velmora
