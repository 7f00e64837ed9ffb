// gui-driver: drives a Windows program under test from a script of steps.
//
//   gui-driver SCRIPT [NAME=VALUE]...
//
// It starts the program, finds its windows and controls, acts on them with
// window messages, reads their state back and compares screen pixels. Exit 0
// when every step passed; otherwise the failing step is printed, the program
// is ended and the exit status is 1.
//
// Script: one step a line; blank lines and lines starting with '#' are
// skipped. Arguments are separated by blanks; "double quotes" keep blanks and
// take \", \\ and \n (a line break) escapes. ${NAME} is replaced by a
// NAME=VALUE of the command line. CTRL is a control identifier: a number, a name from an `ids`
// header, or `window` for the current top-level window itself.
//
//   ids HEADER                 read "#define NAME NUMBER" lines as control names
//   start PROGRAM [ARGS...]    start the program (working folder: its own)
//   window CAPTION             wait for its top-level window of that caption;
//                              later control steps look inside it
//   click CTRL                 BM_CLICK (buttons and check boxes)
//   set-text CTRL TEXT         WM_SETTEXT (an edit fires EN_CHANGE)
//   select CTRL INDEX...       combo: that item; list: exactly these items
//                              (none when no INDEX); then the parent gets
//                              CBN_SELCHANGE / LBN_SELCHANGE as from a user
//   mouse CTRL down|up X Y     left button pressed or released at client X, Y
//   mouse-input CTRL down|up X Y
//                              the same as real input (SendInput) at client X,
//                              Y of CTRL, which may lie outside it
//   click-item CTRL INDEX [shift]
//                              a list item pressed and released at its centre
//   scroll CTRL INDEX          a list's first visible item
//   scroll-bar CTRL CODE       a scroll bar control's WM_HSCROLL (WM_VSCROLL)
//                              with that SB_ code to its parent
//   key CTRL VK                WM_KEYDOWN and WM_KEYUP of a virtual-key code
//   press CTRL VK              the same keys posted, so that they pass the
//                              program's message loop (accelerators, WM_CHAR);
//                              a later sent message can overtake them, so an
//                              expect step waits for their effect
//   command ID                 WM_COMMAND ID to the current window (menus)
//   system-command ID          WM_SYSCOMMAND ID to the current window
//   message CAPTION TEXT BUTTON
//                              a message box of that caption and text is
//                              open; press BUTTON: ok, cancel, yes or no
//   file-dialog TITLE PATH [PRESET]
//                              an Open/Save dialog of that title is open (its
//                              file name box holding PRESET, when given): type
//                              PATH into the box and press OK
//   file-name TITLE PATH       the same, without waiting for the dialog to
//                              close (a box about the name may keep it open)
//   cancel-dialog TITLE        a dialog of that title is open: press Cancel
//   expect-gone CAPTION [SECONDS]
//                              no top-level window of that caption is left
//                              (a dialog that closes itself has closed)
//   expect-text CTRL TEXT      the window text
//   expect-text-file CTRL FILE the window text equals the file's bytes
//   expect-count CTRL N        number of list or combo items
//   expect-item CTRL INDEX TEXT
//   expect-items CTRL TEXT...  all list or combo items, in order
//   expect-listed CTRL PATTERN some list or combo item matches the pattern, in
//                              which * matches any run of characters
//   expect-selection CTRL INDEX...   selected list items (combo: current item)
//   expect-place CTRL TOP CARET ANCHOR
//                              a list's first visible item, focus item and
//                              shift-click anchor
//   expect-check CTRL 0|1
//   expect-enabled CTRL 0|1
//   expect-visible CTRL 0|1
//   expect-focus CTRL          the program's keyboard focus is on CTRL
//   expect-end-session 0|1     the current window's answer to WM_QUERYENDSESSION
//   expect-rect CTRL LEFT TOP WIDTH HEIGHT
//                              a control: relative to its parent's client
//                              area; `window`: outer rectangle on the screen
//   expect-image CTRL FILE     the client area's screen pixels equal the image
//                              (PNG or PPM); on failure the screen's pixels are
//                              written to FILE.screen.png
//   screenshot CTRL FILE.png   the client area (`window`: the whole window)
//   expect-same-file A B       two files have the same bytes
//   run PROGRAM [ARGS...]      run a helper program to its end; exit 0 needed
//                              (its standard output is dropped)
//   sleep MS
//   end-command ID             WM_COMMAND ID posted to the current window; the
//                              program must end as after `close`
//   close                      close the current window; the program must end
//                              with exit status 0 and no dialog left open
//   walk SECONDS SEED REPLAY   a random walk through the program's windows,
//                              set up by walk-* steps (tests/gui/random_walk.h);
//                              every input is appended to the script REPLAY
//
// Every step first waits until the program has handled the previous steps'
// messages or shows a dialog; expect steps retry for a few seconds before they
// fail, so a repaint or a slow handler does not make a test flaky.
//
// scripts/wine-gui-test runs a script in the build's Wine prefix. Tests that
// share one X display must not overlap on the screen: give their CTest
// entries the resource lock gui_display (see tests/gui/CMakeLists.txt).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_PNM
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tests/gui/driver_support.h"
#include "tests/gui/random_walk.h"

namespace {
using namespace gui_driver;

using Args = std::vector<std::string>;
constexpr auto kTimeout = std::chrono::seconds(10);
constexpr auto kExpectTimeout = std::chrono::seconds(4);

// Splits a script line into arguments (see the step language above).
Args SplitLine(const std::string& line) {
  Args args;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    std::string arg;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        const bool escaped = line[i] == '\\' && i + 1 < line.size();
        if (escaped) ++i;
        arg += escaped && line[i] == 'n' ? '\n' : line[i];
      }
      if (i >= line.size()) Fail("unterminated quote");
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        arg += line[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::string Substitute(const std::string& line, const std::map<std::string, std::string>& vars) {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    size_t end;
    if (line.compare(i, 2, "${") == 0 && (end = line.find('}', i)) != std::string::npos) {
      std::string name = line.substr(i + 2, end - i - 2);
      auto found = vars.find(name);
      if (found == vars.end()) Fail("no value given for ${" + name + "}");
      out += found->second;
      i = end;
    } else {
      out += line[i];
    }
  }
  return out;
}

long Number(const std::string& text) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0') Fail("not a number: " + text);
  return value;
}

struct Image {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // 3 bytes a pixel, row after row
};

Image LoadImage(const std::string& path) {
  Image image;
  int channels = 0;
  unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
  if (!data) Fail("cannot read image " + path + ": " + stbi_failure_reason());
  image.rgb.assign(data, data + static_cast<size_t>(image.width) * image.height * 3);
  stbi_image_free(data);
  return image;
}

void SavePng(const Image& image, const std::string& path) {
  if (!stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(),
                      image.width * 3)) {
    Fail("cannot write " + path);
  }
}

// The pixels of a screen rectangle, read back from the screen itself.
Image CaptureScreen(const RECT& rect) {
  Image image;
  image.width = rect.right - rect.left;
  image.height = rect.bottom - rect.top;
  if (image.width <= 0 || image.height <= 0) Fail("the window has no visible area");
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const unsigned char* bgrx = static_cast<const unsigned char*>(bits);
  image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
  for (size_t i = 0; i < static_cast<size_t>(image.width) * image.height; ++i) {
    image.rgb[3 * i] = bgrx[4 * i + 2];
    image.rgb[3 * i + 1] = bgrx[4 * i + 1];
    image.rgb[3 * i + 2] = bgrx[4 * i];
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

// Empty when equal, else what differs.
std::string CompareImages(const Image& screen, const Image& expected) {
  if (screen.width != expected.width || screen.height != expected.height) {
    return "size " + std::to_string(screen.width) + "x" + std::to_string(screen.height) +
           ", expected " + std::to_string(expected.width) + "x" + std::to_string(expected.height);
  }
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < screen.rgb.size() / 3; ++i) {
    if (memcmp(&screen.rgb[3 * i], &expected.rgb[3 * i], 3) != 0 && differing++ == 0) first = i;
  }
  if (differing == 0) return {};
  return std::to_string(differing) + " pixels differ, the first at (" +
         std::to_string(first % screen.width) + ", " + std::to_string(first / screen.width) + ")";
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class Driver : public WalkHost {
 public:
  explicit Driver(std::map<std::string, std::string> vars) : vars_(std::move(vars)) {}
  ~Driver() override { EndProgram(); }

  void RunLine(const std::string& line) {
    const std::string substituted = Substitute(line, vars_);
    Args args = SplitLine(substituted);
    if (args.empty() || args[0][0] == '#') return;
    if (!walking_ && args[0] != "walk") before_walk_.push_back(substituted);
    std::string step = args[0];
    args.erase(args.begin());
    if (walk_.Take(step, args, *this)) return;
    auto handler = steps_.find(step);
    if (handler == steps_.end()) Fail("unknown step " + step);
    if (step != "ids" && step != "start" && step != "run" && step != "sleep" && step != "walk") {
      Settle();
    }
    (this->*handler->second)(args);
  }

  void Step(const std::string& line) override { RunLine(line); }
  std::vector<HWND> Windows() const override { return TopLevelWindows(); }
  HANDLE Process() const override { return process_.hProcess; }

  std::vector<std::string> StartUp() const override {
    std::vector<std::string> lines;
    for (const std::string& line : before_walk_) {
      if (!line.starts_with("walk-") && !line.starts_with("ids ")) lines.push_back(line);
    }
    return lines;
  }

  long IdOf(const std::string& name) const override {
    auto known = ids_.find(name);
    return known != ids_.end() ? known->second : Number(name);
  }

  // A failure leaves a dialog or a crashed program behind; end it.
  void EndProgram() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
  }

 private:
  using StepHandler = void (Driver::*)(const Args&);

  static void Need(const Args& args, size_t count, const char* usage) {
    if (args.size() < count) Fail(std::string("usage: ") + usage);
  }

  // ---- waiting -----------------------------------------------------------

  static void CALLBACK Answered(HWND, UINT, ULONG_PTR data, LRESULT) {
    --*reinterpret_cast<int*>(data);
  }

  // Sends a message without blocking on it: a handler that opens a modal box
  // does not return until the box is answered by a later step.
  void Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++pending_;
    if (!SendMessageCallbackW(window, message, wParam, lParam, Answered,
                              reinterpret_cast<ULONG_PTR>(&pending_))) {
      --pending_;
      Fail("the message could not be delivered");
    }
    Settle();
  }

  void PumpOwnMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  // Waits until every delivered message has been handled, or the program
  // shows a dialog (whose handler is then still running).
  void Settle() {
    auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (true) {
      PumpOwnMessages();
      if (pending_ == 0 || OpenDialog()) return;
      if (process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
        Fail("the program ended");
      }
      if (std::chrono::steady_clock::now() > deadline) Fail("the program does not respond");
      Sleep(10);
    }
  }

  // Retries `check` (which returns an empty text when satisfied) for a while.
  void Expect(const std::function<std::string()>& check,
              std::chrono::seconds timeout = kExpectTimeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string problem;
    while (!(problem = check()).empty()) {
      if (std::chrono::steady_clock::now() > deadline) Fail(problem);
      PumpOwnMessages();
      Sleep(20);
    }
  }

  // ---- finding windows ---------------------------------------------------

  struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
  };

  static BOOL CALLBACK AddIfOwned(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
  }

  std::vector<HWND> TopLevelWindows() const {
    WindowSearch search{process_.dwProcessId, {}};
    EnumWindows(AddIfOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  HWND OpenDialog() const {
    for (HWND window : TopLevelWindows()) {
      if (window != current_ && ClassOf(window) == "#32770") return window;
    }
    return nullptr;
  }

  HWND WaitForWindow(const std::string& caption, bool dialog) {
    auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
      for (HWND window : TopLevelWindows()) {
        if (WindowText(window) == caption && (!dialog || ClassOf(window) == "#32770")) {
          return window;
        }
      }
      PumpOwnMessages();
      Sleep(20);
    }
    HWND other = OpenDialog();
    Fail("no window \"" + caption + "\"" +
         (other ? " (open: \"" + WindowText(other) + "\")" : std::string()));
  }

  HWND Control(const std::string& name) {
    if (!current_) Fail("no current window: use `window` first");
    if (name == "window") return current_;
    auto known = ids_.find(name);
    long id = known != ids_.end() ? known->second : Number(name);
    for (HWND child : Descendants(current_)) {
      if (GetDlgCtrlID(child) == id) return child;
    }
    Fail("no control " + name + " in \"" + WindowText(current_) + "\"");
  }

  // ---- steps -------------------------------------------------------------

  void Ids(const Args& args) {
    Need(args, 1, "ids HEADER");
    std::istringstream lines(ReadFileBytes(args[0]));
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream words(line);
      std::string define, name, value;
      words >> define >> name >> value;
      char* end = nullptr;
      long number = std::strtol(value.c_str(), &end, 0);
      if (define == "#define" && !value.empty() && *end == '\0') ids_[name] = number;
    }
  }

  static std::string CommandLine(const Args& args) {
    std::string line;
    for (const std::string& arg : args) line += (line.empty() ? "\"" : " \"") + arg + "\"";
    return line;
  }

  // `output`, when given, takes the program's standard output.
  static PROCESS_INFORMATION Launch(const Args& args, HANDLE output = nullptr) {
    std::string program = args[0];
    std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
    std::wstring line = Wide(CommandLine(args));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (output) {
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
      startup.hStdOutput = output;
      startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                        folder.empty() ? nullptr : Wide(folder).c_str(), &startup, &process)) {
      Fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
    }
    return process;
  }

  void Start(const Args& args) {
    Need(args, 1, "start PROGRAM [ARGS...]");
    EndProgram();
    process_ = Launch(args);
    WaitForInputIdle(process_.hProcess, 10000);
  }

  // A helper's output would only clutter the test's: it goes to NUL.
  void Run(const Args& args) {
    Need(args, 1, "run PROGRAM [ARGS...]");
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING,
                             0, nullptr);
    PROCESS_INFORMATION helper = Launch(args, nul);
    CloseHandle(nul);
    DWORD code = 1;
    if (WaitForSingleObject(helper.hProcess, 60000) != WAIT_OBJECT_0) {
      TerminateProcess(helper.hProcess, 1);
    }
    GetExitCodeProcess(helper.hProcess, &code);
    CloseHandle(helper.hProcess);
    CloseHandle(helper.hThread);
    if (code != 0) Fail(args[0] + " exited with " + std::to_string(code));
  }

  void Window(const Args& args) {
    Need(args, 1, "window CAPTION");
    current_ = WaitForWindow(args[0], false);
  }

  void Click(const Args& args) {
    Need(args, 1, "click CTRL");
    Deliver(Control(args[0]), BM_CLICK, 0, 0);
  }

  void SetText(const Args& args) {
    Need(args, 2, "set-text CTRL TEXT");
    std::wstring text = Wide(args[1]);
    SendMessageW(Control(args[0]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  void Select(const Args& args) {
    Need(args, 1, "select CTRL INDEX...");
    HWND control = Control(args[0]);
    WORD notification;
    if (IsComboBox(control)) {
      Need(args, 2, "select COMBO INDEX");
      SendMessageW(control, CB_SETCURSEL, Number(args[1]), 0);
      notification = CBN_SELCHANGE;
    } else if (GetWindowLongW(control, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) {
      SendMessageW(control, LB_SETSEL, FALSE, -1);
      for (size_t i = 1; i < args.size(); ++i)
        SendMessageW(control, LB_SETSEL, TRUE, Number(args[i]));
      notification = LBN_SELCHANGE;
    } else {
      SendMessageW(control, LB_SETCURSEL, args.size() > 1 ? Number(args[1]) : -1, 0);
      notification = LBN_SELCHANGE;
    }
    WPARAM command = MAKEWPARAM(GetDlgCtrlID(control), notification);
    Deliver(GetParent(control), WM_COMMAND, command, reinterpret_cast<LPARAM>(control));
  }

  void Mouse(const Args& args) {
    Need(args, 4, "mouse CTRL down|up X Y");
    bool down = args[1] == "down";
    if (!down && args[1] != "up") Fail("mouse: down or up");
    LPARAM at = MAKELPARAM(Number(args[2]), Number(args[3]));
    Deliver(Control(args[0]), down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, at);
  }

  void MouseInput(const Args& args) {
    Need(args, 4, "mouse-input CTRL down|up X Y");
    POINT at = {Number(args[2]), Number(args[3])};
    ClientToScreen(Control(args[0]), &at);
    SetCursorPos(at.x, at.y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = args[1] == "down" ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
    Sleep(100);  // the input reaches the program through the X server
    Settle();
  }

  void ClickItem(const Args& args) {
    Need(args, 2, "click-item CTRL INDEX [shift]");
    HWND list = Control(args[0]);
    RECT item;
    if (SendMessageW(list, LB_GETITEMRECT, Number(args[1]), reinterpret_cast<LPARAM>(&item)) ==
        LB_ERR) {
      Fail("no list item " + args[1]);
    }
    WPARAM keys = args.size() > 2 && args[2] == "shift" ? MK_SHIFT : 0;
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    Deliver(list, WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
    Deliver(list, WM_LBUTTONUP, keys, at);
  }

  void Scroll(const Args& args) {
    Need(args, 2, "scroll CTRL INDEX");
    SendMessageW(Control(args[0]), LB_SETTOPINDEX, Number(args[1]), 0);
  }

  void ScrollBar(const Args& args) {
    Need(args, 2, "scroll-bar CTRL CODE");
    HWND bar = Control(args[0]);
    const UINT message = GetWindowLongW(bar, GWL_STYLE) & SBS_VERT ? WM_VSCROLL : WM_HSCROLL;
    Deliver(GetParent(bar), message, MAKEWPARAM(Number(args[1]), 0), reinterpret_cast<LPARAM>(bar));
  }

  void Key(const Args& args) {
    Need(args, 2, "key CTRL VK");
    HWND control = Control(args[0]);
    Deliver(control, WM_KEYDOWN, Number(args[1]), 1);
    Deliver(control, WM_KEYUP, Number(args[1]), 0xC0000001);
  }

  void PressKey(const Args& args) {
    Need(args, 2, "press CTRL VK");
    HWND control = Control(args[0]);
    PostMessageW(control, WM_KEYDOWN, Number(args[1]), 1);
    PostMessageW(control, WM_KEYUP, Number(args[1]), 0xC0000001);
    Settle();
  }

  void Command(const Args& args) {
    Need(args, 1, "command ID");
    Deliver(current_, WM_COMMAND, static_cast<WPARAM>(IdOf(args[0])), 0);
  }

  void SystemCommand(const Args& args) {
    Need(args, 1, "system-command ID");
    Deliver(current_, WM_SYSCOMMAND, static_cast<WPARAM>(IdOf(args[0])), 0);
  }

  // Presses a dialog button by posting: the button's handler ends a modal
  // loop, and the step that opened it is answered later.
  static void Press(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) Fail("the dialog has no button " + std::to_string(id));
    PostMessageW(button, BM_CLICK, 0, 0);
  }

  void AwaitClosed(HWND dialog) {
    auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (IsWindow(dialog) && IsWindowVisible(dialog)) {
      if (std::chrono::steady_clock::now() > deadline) Fail("the dialog did not close");
      PumpOwnMessages();
      Sleep(10);
    }
    Settle();
  }

  void Message(const Args& args) {
    Need(args, 3, "message CAPTION TEXT ok|cancel|yes|no");
    static const std::map<std::string, int> kButtons = {
        {"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
    auto button = kButtons.find(args[2]);
    if (button == kButtons.end()) Fail("message: the button is ok, cancel, yes or no");
    HWND box = WaitForWindow(args[0], true);
    HWND label = GetDlgItem(box, 0xFFFF);
    std::string text = label ? WindowText(label) : std::string();
    if (text != args[1]) Fail("message text \"" + text + "\", expected \"" + args[1] + "\"");
    Press(box, button->second);
    AwaitClosed(box);
  }

  // Types a path into an Open/Save dialog's file name box and presses OK.
  void TypeFileName(const Args& args, const char* usage, bool awaitClosed) {
    Need(args, 2, usage);
    HWND dialog = WaitForWindow(args[0], true);
    HWND nameBox = nullptr;
    for (HWND child : Descendants(dialog)) {
      if (ClassOf(child) == "Edit" && IsWindowVisible(child)) {
        nameBox = child;
        break;
      }
    }
    if (!nameBox) Fail("the dialog has no file name box");
    if (args.size() > 2) {
      std::string problem = Mismatch("the file name box", WindowText(nameBox), args[2]);
      if (!problem.empty()) Fail(problem);
    }
    std::wstring path = Wide(args[1]);
    SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Press(dialog, IDOK);
    if (awaitClosed) AwaitClosed(dialog);
  }

  void FileDialog(const Args& args) { TypeFileName(args, "file-dialog TITLE PATH [PRESET]", true); }
  void FileName(const Args& args) {
    // A box about the name may keep the dialog open: the next step answers it.
    TypeFileName(args, "file-name TITLE PATH", false);
    Settle();
  }

  void Walk(const Args& args) {
    Need(args, 3, "walk SECONDS SEED REPLAY");
    std::FILE* replay = std::fopen(args[2].c_str(), "a");
    if (!replay) Fail("cannot write " + args[2]);
    const uint32_t seed = static_cast<uint32_t>(std::strtoul(args[1].c_str(), nullptr, 0));
    // The steps before the walk make the replay a script that runs alone.
    for (const std::string& line : before_walk_) std::fprintf(replay, "%s\n", line.c_str());
    std::fprintf(replay, "# walk with seed %u\n", seed);
    RandomWalk walk(*this, walk_, seed, replay);
    walking_ = true;
    try {
      walk.Run(std::chrono::seconds(Number(args[0])));
      std::fclose(replay);
      std::printf("walk %s\n", walk.Summary().c_str());
    } catch (const WalkFinding& finding) {
      std::fclose(replay);
      Fail("walk finding: " + std::string(finding.what()) + "\n  " + walk.Summary() +
           "\n  the last inputs (the whole walk: " + args[2] + "):\n" + walk.LastInputs());
    }
  }

  void CancelDialog(const Args& args) {
    Need(args, 1, "cancel-dialog TITLE");
    HWND dialog = WaitForWindow(args[0], true);
    Press(dialog, IDCANCEL);
    AwaitClosed(dialog);
  }

  static std::string Mismatch(const std::string& what, const std::string& actual,
                              const std::string& expected) {
    if (actual == expected) return {};
    return what + " is \"" + actual + "\", expected \"" + expected + "\"";
  }

  static std::vector<std::string> Items(HWND control) {
    bool combo = IsComboBox(control);
    LRESULT count = SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < count; ++i) {
      LRESULT length = SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
      std::wstring text(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
      SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i,
                   reinterpret_cast<LPARAM>(text.data()));
      text.resize(wcslen(text.c_str()));
      items.push_back(Utf8(text));
    }
    return items;
  }

  static std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : " | ") + text;
    return joined;
  }

  static std::vector<std::string> Selection(HWND control) {
    std::vector<std::string> selected;
    if (IsComboBox(control)) {
      selected.push_back(std::to_string(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      return selected;
    }
    LRESULT count = SendMessageW(control, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      if (SendMessageW(control, LB_GETSEL, i, 0) > 0) selected.push_back(std::to_string(i));
    }
    return selected;
  }

  void ExpectText(const Args& args) {
    Need(args, 2, "expect-text CTRL TEXT");
    HWND control = Control(args[0]);
    Expect([&] { return Mismatch(args[0] + " text", WindowText(control), args[1]); });
  }

  void ExpectTextFile(const Args& args) {
    Need(args, 2, "expect-text-file CTRL FILE");
    HWND control = Control(args[0]);
    const std::string expected = ReadFileBytes(args[1]);
    Expect([&] { return Mismatch(args[0] + " text", WindowText(control), expected); });
  }

  void ExpectCount(const Args& args) {
    Need(args, 2, "expect-count CTRL N");
    HWND control = Control(args[0]);
    Expect([&] {
      return Mismatch(args[0] + " count", std::to_string(Items(control).size()), args[1]);
    });
  }

  void ExpectItem(const Args& args) {
    Need(args, 3, "expect-item CTRL INDEX TEXT");
    HWND control = Control(args[0]);
    size_t index = static_cast<size_t>(Number(args[1]));
    Expect([&] {
      std::vector<std::string> items = Items(control);
      std::string item = index < items.size() ? items[index] : "(none)";
      return Mismatch(args[0] + " item " + args[1], item, args[2]);
    });
  }

  void ExpectItems(const Args& args) {
    Need(args, 1, "expect-items CTRL TEXT...");
    HWND control = Control(args[0]);
    Args expected(args.begin() + 1, args.end());
    Expect([&] { return Mismatch(args[0] + " items", Joined(Items(control)), Joined(expected)); });
  }

  void ExpectListed(const Args& args) {
    Need(args, 2, "expect-listed CTRL PATTERN");
    HWND control = Control(args[0]);
    Expect([&] {
      std::vector<std::string> items = Items(control);
      bool listed = std::any_of(items.begin(), items.end(), [&](const std::string& item) {
        return Matches(args[1].c_str(), item.c_str());
      });
      return listed ? std::string() : "no item of " + args[0] + " matches \"" + args[1] + "\"";
    });
  }

  void ExpectSelection(const Args& args) {
    Need(args, 1, "expect-selection CTRL INDEX...");
    HWND control = Control(args[0]);
    Args expected(args.begin() + 1, args.end());
    Expect([&] {
      return Mismatch(args[0] + " selection", Joined(Selection(control)), Joined(expected));
    });
  }

  void ExpectPlace(const Args& args) {
    Need(args, 4, "expect-place CTRL TOP CARET ANCHOR");
    HWND list = Control(args[0]);
    Expect([&] {
      std::string place;
      for (UINT query : {LB_GETTOPINDEX, LB_GETCARETINDEX, LB_GETANCHORINDEX}) {
        place += (place.empty() ? "" : " ") + std::to_string(SendMessageW(list, query, 0, 0));
      }
      return Mismatch(args[0] + " place", place, args[1] + " " + args[2] + " " + args[3]);
    });
  }

  void ExpectFlag(const Args& args, const char* what, const std::function<bool(HWND)>& flag) {
    if (args.size() < 2) Fail(std::string("usage: expect-") + what + " CTRL 0|1");
    HWND control = Control(args[0]);
    Expect([&] { return Mismatch(args[0] + " " + what, flag(control) ? "1" : "0", args[1]); });
  }
  void ExpectCheck(const Args& args) {
    ExpectFlag(args, "check", [](HWND c) { return SendMessageW(c, BM_GETCHECK, 0, 0) == 1; });
  }
  void ExpectEnabled(const Args& args) {
    ExpectFlag(args, "enabled", [](HWND c) { return IsWindowEnabled(c) != FALSE; });
  }
  void ExpectGone(const Args& args) {
    Need(args, 1, "expect-gone CAPTION [SECONDS]");
    const auto timeout = args.size() > 1 ? std::chrono::seconds(Number(args[1])) : kExpectTimeout;
    Expect(
        [&] {
          for (HWND window : TopLevelWindows()) {
            if (WindowText(window) == args[0]) return "\"" + args[0] + "\" is still open";
          }
          return std::string();
        },
        timeout);
  }
  void ExpectFocus(const Args& args) {
    Need(args, 1, "expect-focus CTRL");
    HWND control = Control(args[0]);
    Expect([&] {
      GUITHREADINFO info = {};
      info.cbSize = sizeof(info);
      GetGUIThreadInfo(GetWindowThreadProcessId(current_, nullptr), &info);
      return Mismatch("the focus", std::to_string(GetDlgCtrlID(info.hwndFocus)),
                      std::to_string(GetDlgCtrlID(control)));
    });
  }
  void ExpectEndSession(const Args& args) {
    Need(args, 1, "expect-end-session 0|1");
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(current_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer);
    std::string problem = Mismatch("the answer", answer ? "1" : "0", args[0]);
    if (!problem.empty()) Fail(problem);
  }
  void ExpectVisible(const Args& args) {
    ExpectFlag(args, "visible", [](HWND c) { return IsWindowVisible(c) != FALSE; });
  }

  RECT RectOf(HWND control) const {
    RECT rect;
    GetWindowRect(control, &rect);
    if (control != current_) MapWindowPoints(nullptr, GetParent(control), (POINT*)&rect, 2);
    return rect;
  }

  void ExpectRect(const Args& args) {
    Need(args, 5, "expect-rect CTRL LEFT TOP WIDTH HEIGHT");
    HWND control = Control(args[0]);
    std::string expected = args[1] + " " + args[2] + " " + args[3] + " " + args[4];
    Expect([&] {
      RECT r = RectOf(control);
      std::string actual = std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                           std::to_string(r.right - r.left) + " " +
                           std::to_string(r.bottom - r.top);
      return Mismatch(args[0] + " rectangle", actual, expected);
    });
  }

  // The client area on the screen (for `window`, the whole window).
  Image Capture(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR ignored;
    SendMessageTimeoutW(control, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
    RECT rect;
    if (control == current_) {
      GetWindowRect(control, &rect);
    } else {
      GetClientRect(control, &rect);
      MapWindowPoints(control, nullptr, (POINT*)&rect, 2);
    }
    return CaptureScreen(rect);
  }

  void ExpectImage(const Args& args) {
    Need(args, 2, "expect-image CTRL FILE");
    HWND control = Control(args[0]);
    Image expected = LoadImage(args[1]);
    Image screen;
    try {
      Expect([&] { return CompareImages(screen = Capture(control), expected); });
    } catch (const StepFailure&) {
      SavePng(screen, args[1] + ".screen.png");
      throw;
    }
  }

  void Screenshot(const Args& args) {
    Need(args, 2, "screenshot CTRL FILE.png");
    SavePng(Capture(Control(args[0])), args[1]);
  }

  void ExpectSameFile(const Args& args) {
    Need(args, 2, "expect-same-file A B");
    // The program may still be writing the file after its dialog closed.
    Expect([&] {
      return ReadFileBytes(args[0]) == ReadFileBytes(args[1])
                 ? std::string()
                 : args[0] + " and " + args[1] + " differ";
    });
  }

  void SleepStep(const Args& args) {
    Need(args, 1, "sleep MS");
    Sleep(static_cast<DWORD>(Number(args[0])));
  }

  void Close(const Args&) {
    if (HWND dialog = OpenDialog()) {
      HWND label = GetDlgItem(dialog, 0xFFFF);
      Fail("a dialog is still open: \"" + WindowText(dialog) + "\" " +
           (label ? WindowText(label) : std::string()));
    }
    PostMessageW(current_, WM_CLOSE, 0, 0);
    AwaitEnd();
  }

  void EndCommand(const Args& args) {
    Need(args, 1, "end-command ID");
    PostMessageW(current_, WM_COMMAND, static_cast<WPARAM>(IdOf(args[0])), 0);
    AwaitEnd();
  }

  void AwaitEnd() {
    pending_ = 0;  // the program ends before it could answer
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
      Fail("the program did not end");
    }
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    if (code != 0) Fail("the program ended with status " + std::to_string(code));
    current_ = nullptr;
  }

  std::map<std::string, std::string> vars_;
  std::map<std::string, long> ids_;
  PROCESS_INFORMATION process_ = {};
  HWND current_ = nullptr;
  int pending_ = 0;
  WalkSettings walk_;
  bool walking_ = false;
  std::vector<std::string> before_walk_;  // substituted, for the replay

  const std::map<std::string, StepHandler> steps_ = {
      {"ids", &Driver::Ids},
      {"start", &Driver::Start},
      {"run", &Driver::Run},
      {"window", &Driver::Window},
      {"click", &Driver::Click},
      {"set-text", &Driver::SetText},
      {"select", &Driver::Select},
      {"mouse", &Driver::Mouse},
      {"mouse-input", &Driver::MouseInput},
      {"click-item", &Driver::ClickItem},
      {"scroll", &Driver::Scroll},
      {"scroll-bar", &Driver::ScrollBar},
      {"key", &Driver::Key},
      {"press", &Driver::PressKey},
      {"command", &Driver::Command},
      {"system-command", &Driver::SystemCommand},
      {"message", &Driver::Message},
      {"file-dialog", &Driver::FileDialog},
      {"file-name", &Driver::FileName},
      {"cancel-dialog", &Driver::CancelDialog},
      {"walk", &Driver::Walk},
      {"expect-text", &Driver::ExpectText},
      {"expect-text-file", &Driver::ExpectTextFile},
      {"expect-count", &Driver::ExpectCount},
      {"expect-item", &Driver::ExpectItem},
      {"expect-items", &Driver::ExpectItems},
      {"expect-listed", &Driver::ExpectListed},
      {"expect-selection", &Driver::ExpectSelection},
      {"expect-place", &Driver::ExpectPlace},
      {"expect-check", &Driver::ExpectCheck},
      {"expect-enabled", &Driver::ExpectEnabled},
      {"expect-gone", &Driver::ExpectGone},
      {"expect-visible", &Driver::ExpectVisible},
      {"expect-focus", &Driver::ExpectFocus},
      {"expect-end-session", &Driver::ExpectEndSession},
      {"expect-rect", &Driver::ExpectRect},
      {"expect-image", &Driver::ExpectImage},
      {"screenshot", &Driver::Screenshot},
      {"expect-same-file", &Driver::ExpectSameFile},
      {"sleep", &Driver::SleepStep},
      {"end-command", &Driver::EndCommand},
      {"close", &Driver::Close},
  };
};

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) {
    std::fprintf(stderr, "usage: gui-driver SCRIPT [NAME=VALUE]...\n");
    return 2;
  }
  std::map<std::string, std::string> vars;
  for (int i = 2; i < argc; ++i) {
    std::string pair = argv[i];
    size_t equals = pair.find('=');
    if (equals != std::string::npos) vars[pair.substr(0, equals)] = pair.substr(equals + 1);
  }
  std::ifstream script(argv[1]);
  if (!script) {
    std::fprintf(stderr, "gui-driver: cannot read %s\n", argv[1]);
    return 2;
  }
  Driver driver(vars);
  std::string line;
  int number = 0, steps = 0;
  while (std::getline(script, line)) {
    ++number;
    try {
      driver.RunLine(line);
      if (line.find_first_not_of(" \t\r") != std::string::npos && line[0] != '#') ++steps;
    } catch (const StepFailure& failure) {
      std::printf("FAIL %s:%d: %s\n  %s\n", argv[1], number, line.c_str(), failure.what());
      driver.EndProgram();
      return 1;
    }
  }
  std::printf("PASS %s: %d steps\n", argv[1], steps);
  return 0;
}
