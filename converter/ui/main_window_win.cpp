// velmora.exe: the converter's one window. The controls stand for the plain
// form state; every event pulls what the user changed (edit texts, list
// selections) into the form, runs the core's handler, and pushes what the
// handler changed (lists, fields, check boxes, combo items, Image1's place,
// the buttons' states) back to the controls. The two images only copy the
// core's canvases to the screen.
#include <windows.h>

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/win32_ui_win.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/main_window_ids.h"
#include "converter/ui/window_dialogs_win.h"

namespace velmora {
namespace {

constexpr char kFormClass[] = "TForm1";
constexpr char kPanelClass[] = "VelmoraPanel";
constexpr char kImageClass[] = "VelmoraImage";
constexpr char kCaption[] = "Velmora V0.86 : Pronto CCF -> Tessaly PDB";
constexpr RECT kFormPlace = {204, 116, 204 + 842, 116 + 501};
constexpr int kComboDropHeight = 240;  // the list's height below the closed box

struct ControlLayout {
  int id;
  const char* windowClass;
  const char* text;
  DWORD style;
  DWORD exStyle;
  RECT place;  // left, top, width, height
  int parent;  // 0: the form; else the panel that holds it
};

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheck = WS_TABSTOP | BS_CHECKBOX;
constexpr DWORD kList =
    WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kCombo = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;

// In tab order: creation order is the order the Tab key follows.
constexpr ControlLayout kControls[] = {
    {IDC_PANEL1, kPanelClass, "", 0, 0, {16, 40, 337, 325}, 0},
    {IDC_IMAGE1, kImageClass, "", 0, 0, {8, 8, 320, 307}, IDC_PANEL1},
    {IDC_CATEGORY_LIST, "LISTBOX", "", kList, WS_EX_CLIENTEDGE, {616, 32, 201, 145}, 0},
    {IDC_READ_FILE_BTN, "BUTTON", "Read CCF file", kButton, 0, {16, 400, 89, 25}, 0},
    {IDC_PANEL_LIST, "LISTBOX", "", kList, WS_EX_CLIENTEDGE, {360, 32, 201, 145}, 0},
    {IDC_ACTIVE_BUTTONS_CHECK,
     "BUTTON",
     "Use active (associated) buttons ",
     kCheck,
     0,
     {584, 376, 209, 17},
     0},
    {IDC_CLICKED_BUTTONS_CHECK,
     "BUTTON",
     "Include selected (pressed) buttons",
     kCheck,
     0,
     {584, 392, 209, 17},
     0},
    {IDC_INCLUDE_TEXT_CHECK, "BUTTON", "Include button text", kCheck, 0, {584, 424, 129, 17}, 0},
    {IDC_SCALE_X_EDIT, "EDIT", "", kEdit, WS_EX_CLIENTEDGE, {184, 408, 49, 21}, 0},
    {IDC_SCALE_Y_EDIT, "EDIT", "", kEdit, WS_EX_CLIENTEDGE, {256, 408, 49, 21}, 0},
    {IDC_OFFSET_X_EDIT, "EDIT", "", kEdit, WS_EX_CLIENTEDGE, {184, 432, 49, 21}, 0},
    {IDC_OFFSET_Y_EDIT, "EDIT", "", kEdit, WS_EX_CLIENTEDGE, {256, 432, 49, 21}, 0},
    {IDC_ADD_PANEL_BTN, "BUTTON", "->", kButton, 0, {576, 48, 25, 25}, 0},
    {IDC_DEL_PANEL_BTN, "BUTTON", "<-", kButton, 0, {576, 136, 25, 25}, 0},
    {IDC_BUTTON_LIST, "LISTBOX", "", kList, WS_EX_CLIENTEDGE, {360, 208, 201, 145}, 0},
    {IDC_UNFILED_LIST, "LISTBOX", "", kList, WS_EX_CLIENTEDGE, {616, 208, 201, 145}, 0},
    {IDC_BUTTON_ADD_BTN, "BUTTON", "->", kButton, 0, {576, 224, 25, 25}, 0},
    {IDC_BUTTON_DEL_BTN, "BUTTON", "<-", kButton, 0, {576, 312, 25, 25}, 0},
    {IDC_PANEL2, kPanelClass, "", 0, 0, {360, 384, 201, 73}, 0},
    {IDC_BUTTON_IMAGE, kImageClass, "", 0, 0, {8, 8, 185, 57}, IDC_PANEL2},
    {IDC_INCLUDE_IR_CHECK, "BUTTON", "Include IR codes", kCheck, 0, {584, 440, 129, 17}, 0},
    {IDC_GO_BTN, "BUTTON", "Generate PDB file", kButton, 0, {712, 432, 107, 25}, 0},
    {IDC_SCALE_COMBO, "COMBOBOX", "", kCombo, 0, {16, 368, 337, 21}, 0},
    {IDC_PREVIEW_COMBO, "COMBOBOX", "", kCombo, 0, {88, 16, 265, 21}, 0},
    {IDC_REFRESH_BTN, "BUTTON", "Refresh preview", kButton, 0, {16, 432, 89, 25}, 0},
    {IDC_HK_CHECK, "BUTTON", "Include Pronto hard keys", kCheck, 0, {584, 408, 153, 17}, 0},
};

struct LabelSpec {
  const char* text;
  int left;
  int top;
  int centredWidth;  // 0: as wide as the text
};
constexpr int kWordColumnLeft = 560;
constexpr int kWordColumnWidth = 57;
constexpr LabelSpec kLabels[] = {
    {"View panel", 16, 20, 0},
    {"Pronto panels", 360, 16, 0},
    {"Palm categories", 616, 16, 0},
    {"Buttons", 360, 192, 0},
    {"Unfiled category", 616, 192, 0},
    {"View button (image is clickable)", 360, 368, 0},
    {"Scale:", 152, 412, 0},
    {"Offset:", 152, 436, 0},
    {"X", 240, 412, 0},
    {"X", 240, 436, 0},
    {"Copy", kWordColumnLeft, 80, kWordColumnWidth},
    {"entire", kWordColumnLeft, 96, kWordColumnWidth},
    {"panel", kWordColumnLeft, 112, kWordColumnWidth},
    {"Copy", kWordColumnLeft, 256, kWordColumnWidth},
    {"individual", kWordColumnLeft, 272, kWordColumnWidth},
    {"buttons", kWordColumnLeft, 288, kWordColumnWidth},
};
constexpr int kLabelHeight = 13;

std::string FolderOfProgram() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// A list box's place: its first visible entry, the entry of its focus
// rectangle (caret) and the anchor that a shift-click extends from.
struct ListPlace {
  int top;
  int caret;
  int anchor;
};

ListPlace PlaceOf(HWND box) {
  return {static_cast<int>(SendMessageA(box, LB_GETTOPINDEX, 0, 0)),
          static_cast<int>(SendMessageA(box, LB_GETCARETINDEX, 0, 0)),
          static_cast<int>(SendMessageA(box, LB_GETANCHORINDEX, 0, 0))};
}

// The place of `place` in `after` when `after` is `before` with entries
// appended or removed, as "->" and "<-" edit the lists: a kept entry keeps its
// place, a removed one passes it to the next kept entry. nullopt for a list
// that is new altogether (it starts at its top) or empty.
std::optional<ListPlace> FollowPlace(const ListPlace& place, const std::vector<std::string>& before,
                                     const std::vector<std::string>& after) {
  std::vector<int> placeOf(before.size());
  size_t kept = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    placeOf[i] = static_cast<int>(kept);
    if (kept < after.size() && before[i] == after[kept]) ++kept;
  }
  bool edited = kept == before.size() || kept == after.size();
  if (!edited || after.empty()) return std::nullopt;
  int last = static_cast<int>(after.size()) - 1;
  auto follow = [&](int index) {
    bool known = index >= 0 && static_cast<size_t>(index) < placeOf.size();
    return std::min(known ? placeOf[static_cast<size_t>(index)] : 0, last);
  };
  return ListPlace{follow(place.top), follow(place.caret), follow(place.anchor)};
}

// Setting the selection may move the caret and scroll: the place is set last.
void MoveTo(HWND box, const ListPlace& place) {
  SendMessageA(box, LB_SETANCHORINDEX, place.anchor, 0);
  SendMessageA(box, LB_SETCARETINDEX, place.caret, FALSE);
  SendMessageA(box, LB_SETTOPINDEX, place.top, 0);
}

// Copies the top left of `canvas` to the control. Where there is no picture
// (nothing drawn yet) the panel's face shows through.
void PaintCanvas(HDC dc, const RECT& client, const Canvas& canvas) {
  HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &client, face);
  DeleteObject(face);
  int width = std::min<int>(canvas.width(), client.right);
  int height = std::min<int>(canvas.height(), client.bottom);
  if (width <= 0 || height <= 0) return;
  std::vector<uint32_t> bgrx(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Rgb pixel = canvas.Pixel(x, y);
      bgrx[static_cast<size_t>(y) * width + x] = uint32_t{pixel.r} << 16 | pixel.g << 8 | pixel.b;
    }
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, bgrx.data(), &info, DIB_RGB_COLORS);
}

// The form a control belongs to (GetAncestor is missing from Windows 95 and NT 4.0).
HWND TopLevel(HWND window) {
  while (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) window = GetParent(window);
  return window;
}

class ConverterWindow {
 public:
  explicit ConverterWindow(HINSTANCE instance) : instance_(instance) {}
  ~ConverterWindow() {
    if (font_) DeleteObject(font_);
  }

  bool Create(int show);
  static ConverterWindow* Of(HWND window) {
    return reinterpret_cast<ConverterWindow*>(GetWindowLongPtrA(TopLevel(window), GWLP_USERDATA));
  }
  HWND window() const { return window_; }

  LRESULT FormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void PaintImage(HWND image, HDC dc);
  void ImageMouse(HWND image, bool down);

 private:
  HWND Item(int id) const { return controls_[id - IDC_PANEL1]; }
  void CreateControls();
  void FillCombos();
  void OnCommand(int id, int notification);
  // Pull, run the handler, push; an exception the handler lets escape is
  // shown in the application's standard error box.
  template <typename Handler>
  void Run(Handler handler);
  void Pull();
  void PullSelection(int id, ListBoxState& list);
  void Push();
  void PushList(int id, const ListBoxState& list, std::vector<std::string>& shown);
  void PushText(int id, const std::string& text);
  void PushButtonStates();
  void AddSystemMenuOptions();
  // The options' check marks; a toggle, like a check box, redraws nothing.
  bool OnSystemOption(UINT command);
  void PushSystemMenuChecks();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  std::array<HWND, IDC_GO_BTN - IDC_PANEL1 + 1> controls_{};
  std::array<std::vector<std::string>, 4> shownLists_;
  ImagePlacement shownImage1_;
  FormState form_;
  WindowMessages messages_{nullptr};
  CommonFileDialog openDialog_{nullptr, CommonFileDialog::Kind::kOpen, kOpenCcfDialog, ""};
  CommonFileDialog saveDialog_{nullptr, CommonFileDialog::Kind::kSave, kSavePdbDialog, ""};
};

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  ConverterWindow* converter = ConverterWindow::Of(window);
  if (!converter || !converter->window()) return DefWindowProcA(window, message, wParam, lParam);
  return converter->FormMessage(message, wParam, lParam);
}

// The one-pixel lowered bevel that DrawEdge(BDR_SUNKENOUTER, BF_RECT) draws:
// shadow along the top and left, highlight along the bottom and right, drawn
// with pens because no source at hand shows that every target has DrawEdge.
void DrawSunkenEdge(HDC dc, const RECT& area) {
  if (area.right - area.left < 1 || area.bottom - area.top < 1) return;
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HPEN highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ old = SelectObject(dc, shadow);
  // LineTo leaves out its end point: the shadow gets the top-left corner, the
  // highlight the other three.
  MoveToEx(dc, area.left, area.bottom - 1, nullptr);
  LineTo(dc, area.left, area.top);
  LineTo(dc, area.right - 1, area.top);
  SelectObject(dc, highlight);
  MoveToEx(dc, area.left, area.bottom - 1, nullptr);
  LineTo(dc, area.right - 1, area.bottom - 1);
  LineTo(dc, area.right - 1, area.top - 1);
  SelectObject(dc, old);
  DeleteObject(highlight);
  DeleteObject(shadow);
}

// A sunken panel: a one-pixel lowered bevel drawn inside its own area, so its
// children sit at the same offsets as on the designed form.
LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    DrawSunkenEdge(dc, client);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Image1 and ButtonImage. Any mouse button pressed on ButtonImage shows the
// pressed image; its release, wherever the mouse then is, ends the capture
// taken at the press, and the end of the capture shows the normal one.
LRESULT CALLBACK ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ConverterWindow* converter = ConverterWindow::Of(window);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (converter) converter->PaintImage(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (converter) converter->ImageMouse(window, true);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      if (converter) converter->ImageMouse(window, false);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// The icon the build's resource script gives the program.
constexpr int kProgramIcon = 1;

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSA form = {};
  form.lpfnWndProc = FormProc;
  form.hInstance = instance;
  form.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIcon));
  form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormClass;
  WNDCLASSA panel = form;
  panel.lpfnWndProc = PanelProc;
  panel.hIcon = nullptr;
  panel.lpszClassName = kPanelClass;
  WNDCLASSA image = panel;
  image.lpfnWndProc = ImageProc;
  image.hbrBackground = nullptr;
  image.lpszClassName = kImageClass;
  return RegisterClassA(&form) && RegisterClassA(&panel) && RegisterClassA(&image);
}

bool ConverterWindow::Create(int show) {
  if (!RegisterClasses(instance_)) return false;
  // "MS Sans Serif" 8: 11 pixels high.
  font_ = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
  window_ = CreateWindowExA(0, kFormClass, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                            kFormPlace.left, kFormPlace.top, kFormPlace.right - kFormPlace.left,
                            kFormPlace.bottom - kFormPlace.top, nullptr, nullptr, instance_, this);
  if (!window_) return false;
  std::string folder = FolderOfProgram();
  messages_ = WindowMessages(window_);
  openDialog_ = CommonFileDialog(window_, CommonFileDialog::Kind::kOpen, kOpenCcfDialog, folder);
  saveDialog_ = CommonFileDialog(window_, CommonFileDialog::Kind::kSave, kSavePdbDialog, folder);
  form_.decimalSeparator = LocaleDecimalSeparator();
  CreateControls();
  FillCombos();
  AddSystemMenuOptions();
  form_.controlsChanged = [this] { Push(); };
  Push();
  ShowWindow(window_, show);
  UpdateWindow(window_);
  return true;
}

void ConverterWindow::CreateControls() {
  for (const ControlLayout& entry : kControls) {
    HWND parent = entry.parent ? Item(entry.parent) : window_;
    LONG height = entry.place.bottom;
    if (entry.windowClass == std::string_view("COMBOBOX")) height += kComboDropHeight;
    HWND control = CreateWindowExA(
        entry.exStyle, entry.windowClass, entry.text, WS_CHILD | WS_VISIBLE | entry.style,
        entry.place.left, entry.place.top, entry.place.right, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance_, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    controls_[entry.id - IDC_PANEL1] = control;
  }
  HDC dc = GetDC(window_);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  for (const LabelSpec& label : kLabels) {
    SIZE extent;
    GetTextExtentPoint32A(dc, label.text, static_cast<int>(strlen(label.text)), &extent);
    int width = label.centredWidth ? label.centredWidth : extent.cx;
    HWND control = CreateWindowExA(
        0, "STATIC", label.text, WS_CHILD | WS_VISIBLE | (label.centredWidth ? SS_CENTER : 0),
        label.left, label.top, width, kLabelHeight, window_, nullptr, instance_, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  SelectObject(dc, oldFont);
  ReleaseDC(window_, dc);
}

void ConverterWindow::FillCombos() {
  for (const ScaleMode& mode : ScaleModeTable) {
    SendMessageA(Item(IDC_SCALE_COMBO), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode.item));
  }
  for (const PreviewSize& size : PreviewSizes) {
    SendMessageA(Item(IDC_PREVIEW_COMBO), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size.item));
  }
}

template <typename Handler>
void ConverterWindow::Run(Handler handler) {
  Pull();
  try {
    handler();
  } catch (const std::exception& error) {
    messages_.ShowStyled(error.what(), kApplicationTitle, kApplicationError);
  }
  Push();
}

LRESULT ConverterWindow::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      if (OnSystemOption(static_cast<UINT>(wParam & 0xFFF0))) return 0;
      return DefWindowProcA(window_, message, wParam, lParam);
    case DM_GETDEFID:
      return MAKELRESULT(form_.goBtnDefault ? IDC_GO_BTN : IDC_READ_FILE_BTN, DC_HASDEFID);
    case WM_DESTROY:
      FormDestroy(form_);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

void ConverterWindow::OnCommand(int id, int notification) {
  if (notification == LBN_SELCHANGE && (id == IDC_PANEL_LIST || id == IDC_BUTTON_LIST)) {
    if (id == IDC_PANEL_LIST) {
      Run([&] { PanelListClick(form_, messages_); });
    } else {
      Run([&] { ButtonListClick(form_, messages_); });
    }
    return;
  }
  if (notification == CBN_SELCHANGE) {
    int index = static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
    if (id == IDC_SCALE_COMBO) Run([&] { ScaleComboChange(form_, index, messages_); });
    if (id == IDC_PREVIEW_COMBO) Run([&] { PreviewComboChange(form_, index, messages_); });
    return;
  }
  if (notification != BN_CLICKED) return;
  switch (id) {
    case IDC_READ_FILE_BTN:
      return Run([&] { ReadFileBtnClick(form_, openDialog_, messages_); });
    case IDC_ADD_PANEL_BTN:
      return Run([&] { AddPanelBtnClick(form_, messages_); });
    case IDC_DEL_PANEL_BTN:
      return Run([&] { DelPanelBtnClick(form_); });
    case IDC_BUTTON_ADD_BTN:
      return Run([&] { ButtonAddBtnClick(form_); });
    case IDC_BUTTON_DEL_BTN:
      return Run([&] { ButtonDelBtnClick(form_); });
    case IDC_REFRESH_BTN:
      return Run([&] { RefreshBtnClick(form_, messages_); });
    case IDC_HK_CHECK:
      return Run([&] { SetHKCheck(form_, !form_.hkCheck, messages_); });
    case IDC_INCLUDE_IR_CHECK:
      return Run([&] { SetIncludeIRCheck(form_, !form_.includeIrCheck, messages_); });
    case IDC_ACTIVE_BUTTONS_CHECK:
      return Run([&] { form_.activeButtonsCheck = !form_.activeButtonsCheck; });
    case IDC_CLICKED_BUTTONS_CHECK:
      return Run([&] { form_.clickedButtonsCheck = !form_.clickedButtonsCheck; });
    case IDC_INCLUDE_TEXT_CHECK:
      return Run([&] { form_.includeTextCheck = !form_.includeTextCheck; });
    case IDC_GO_BTN:
      return Run([&] { GoBtnClick(form_, saveDialog_, messages_); });
  }
}

void ConverterWindow::Pull() {
  form_.layoutEdits.scaleX = common::win32::WindowText(Item(IDC_SCALE_X_EDIT));
  form_.layoutEdits.scaleY = common::win32::WindowText(Item(IDC_SCALE_Y_EDIT));
  form_.layoutEdits.offsetX = common::win32::WindowText(Item(IDC_OFFSET_X_EDIT));
  form_.layoutEdits.offsetY = common::win32::WindowText(Item(IDC_OFFSET_Y_EDIT));
  PullSelection(IDC_PANEL_LIST, form_.panelList);
  PullSelection(IDC_CATEGORY_LIST, form_.categoryList);
  PullSelection(IDC_BUTTON_LIST, form_.buttonList);
  PullSelection(IDC_UNFILED_LIST, form_.unfiledList);
}

void ConverterWindow::PullSelection(int id, ListBoxState& list) {
  HWND box = Item(id);
  LRESULT count = SendMessageA(box, LB_GETSELCOUNT, 0, 0);
  std::vector<int> selected(count > 0 ? static_cast<size_t>(count) : 0);
  if (count > 0) {
    SendMessageA(box, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(selected.data()));
  }
  std::set<size_t> previous = list.selection();
  for (size_t index : previous) list.Select(index, false);
  for (int index : selected) list.Select(static_cast<size_t>(index));
}

void ConverterWindow::Push() {
  PushList(IDC_PANEL_LIST, form_.panelList, shownLists_[0]);
  PushList(IDC_CATEGORY_LIST, form_.categoryList, shownLists_[1]);
  PushList(IDC_BUTTON_LIST, form_.buttonList, shownLists_[2]);
  PushList(IDC_UNFILED_LIST, form_.unfiledList, shownLists_[3]);
  PushText(IDC_SCALE_X_EDIT, form_.layoutEdits.scaleX);
  PushText(IDC_SCALE_Y_EDIT, form_.layoutEdits.scaleY);
  PushText(IDC_OFFSET_X_EDIT, form_.layoutEdits.offsetX);
  PushText(IDC_OFFSET_Y_EDIT, form_.layoutEdits.offsetY);
  const std::pair<int, bool> checks[] = {
      {IDC_ACTIVE_BUTTONS_CHECK, form_.activeButtonsCheck},
      {IDC_CLICKED_BUTTONS_CHECK, form_.clickedButtonsCheck},
      {IDC_HK_CHECK, form_.hkCheck},
      {IDC_INCLUDE_TEXT_CHECK, form_.includeTextCheck},
      {IDC_INCLUDE_IR_CHECK, form_.includeIrCheck},
  };
  for (auto [id, checked] : checks) {
    SendMessageA(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  SendMessageA(Item(IDC_SCALE_COMBO), CB_SETCURSEL, form_.scaleComboIndex, 0);
  SendMessageA(Item(IDC_PREVIEW_COMBO), CB_SETCURSEL, form_.previewComboIndex, 0);
  if (!(form_.image1 == shownImage1_)) {
    MoveWindow(Item(IDC_IMAGE1), form_.image1.left, form_.image1.top, form_.image1.width,
               form_.image1.height, TRUE);
    InvalidateRect(Item(IDC_PANEL1), nullptr, TRUE);
    shownImage1_ = form_.image1;
  }
  InvalidateRect(Item(IDC_IMAGE1), nullptr, FALSE);
  InvalidateRect(Item(IDC_BUTTON_IMAGE), nullptr, FALSE);
  PushButtonStates();
  PushSystemMenuChecks();
}

void ConverterWindow::PushList(int id, const ListBoxState& list, std::vector<std::string>& shown) {
  HWND box = Item(id);
  std::optional<ListPlace> place;
  if (shown != list.items()) {
    place = FollowPlace(PlaceOf(box), shown, list.items());
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : list.items()) {
      SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    shown = list.items();
  }
  for (size_t i = 0; i < list.size(); ++i) {
    bool selected = SendMessageA(box, LB_GETSEL, i, 0) > 0;
    if (selected != list.IsSelected(i)) SendMessageA(box, LB_SETSEL, list.IsSelected(i), i);
  }
  if (place) MoveTo(box, *place);
}

void ConverterWindow::PushText(int id, const std::string& text) {
  if (common::win32::WindowText(Item(id)) != text) SetWindowTextA(Item(id), text.c_str());
}

void ConverterWindow::PushButtonStates() {
  EnableWindow(Item(IDC_READ_FILE_BTN), form_.readFileBtnEnabled);
  EnableWindow(Item(IDC_GO_BTN), form_.goBtnEnabled);
  SendMessageA(Item(IDC_READ_FILE_BTN), BM_SETSTYLE,
               form_.readFileBtnDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  SendMessageA(Item(IDC_GO_BTN), BM_SETSTYLE, form_.goBtnDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
               TRUE);
}

void ConverterWindow::AddSystemMenuOptions() {
  HMENU menu = GetSystemMenu(window_, FALSE);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_DECODE_COMPRESSED, "Decode compressed bitmaps");
  AppendMenuA(menu, MF_STRING, IDM_CONVERT_RC6, "Convert RC6 codes");
}

bool ConverterWindow::OnSystemOption(UINT command) {
  if (command == IDM_DECODE_COMPRESSED) {
    Run([&] { form_.compressedNote.decode = !form_.compressedNote.decode; });
  } else if (command == IDM_CONVERT_RC6) {
    Run([&] { form_.convertRc6 = !form_.convertRc6; });
  } else {
    return false;
  }
  return true;
}

void ConverterWindow::PushSystemMenuChecks() {
  HMENU menu = GetSystemMenu(window_, FALSE);
  const std::pair<UINT, bool> checks[] = {{IDM_DECODE_COMPRESSED, form_.compressedNote.decode},
                                          {IDM_CONVERT_RC6, form_.convertRc6}};
  for (auto [command, checked] : checks) {
    CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

void ConverterWindow::PaintImage(HWND image, HDC dc) {
  RECT client;
  GetClientRect(image, &client);
  PaintCanvas(dc, client, image == Item(IDC_IMAGE1) ? form_.image1Canvas : form_.buttonImageCanvas);
}

void ConverterWindow::ImageMouse(HWND image, bool down) {
  if (image != Item(IDC_BUTTON_IMAGE)) return;  // Image1 has no mouse behaviour
  if (down) {
    // A capture lost any other way (another window takes it) ends the press too.
    SetCapture(image);
    Run([&] { ButtonImageMouseDown(form_, messages_); });
  } else {
    Run([&] { ButtonImageMouseUp(form_, messages_); });
  }
}

// Start-up failures end the program after the standard error box.
int StartupFailed(const char* text) {
  MessageBoxA(nullptr, text, kApplicationTitle, MB_OK | MB_ICONERROR);
  return 1;
}

int RunConverter(HINSTANCE instance, int show) {
  ConverterWindow converter(instance);
  try {
    if (!converter.Create(show)) return StartupFailed("The window could not be created.");
  } catch (const std::exception& error) {
    return StartupFailed(error.what());
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(converter.window(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace
}  // namespace velmora

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  return velmora::RunConverter(instance, show);
}
