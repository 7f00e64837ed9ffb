#include "tests/gui/random_walk.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "tests/gui/driver_support.h"

namespace gui_driver {

namespace {

constexpr size_t kRecentInputs = 20;
// A confirmed write or a save lands within this many inputs of the one that
// confirmed it (a dialog's button, then the box that reports the result).
constexpr size_t kConfirmReach = 3;
constexpr DWORD kAnswerMillis = 10000;

// A script argument, quoted and escaped when it needs to be.
std::string Quote(const std::string& text) {
  if (!text.empty() && text.find_first_of(" \t\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return quoted + "\"";
}

bool IsDialog(HWND window) { return ClassOf(window) == "#32770"; }

// A message box: a dialog with a text (0xFFFF) whose other children are
// statics and buttons with the box's ids (IDOK..IDCONTINUE, at most 11).
bool IsMessageBox(HWND window) {
  if (!IsDialog(window) || !GetDlgItem(window, 0xFFFF)) return false;
  for (HWND child : Descendants(window)) {
    const std::string kind = ClassOf(child);
    if (kind != "Static" && !(kind == "Button" && GetDlgCtrlID(child) <= 11)) return false;
  }
  return true;
}

bool IsFileDialog(HWND window) {
  return IsDialog(window) && (GetDlgItem(window, 0x47C) || GetDlgItem(window, 0x480));
}

long Style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// Controls a user can act on: visible, enabled, named, not inside a combo box.
std::vector<HWND> ActionableControls(HWND window, const std::set<long>& skip) {
  std::vector<HWND> found;
  for (HWND child : Descendants(window)) {
    const long id = GetDlgCtrlID(child);
    const std::string kind = ClassOf(child);
    if (!IsWindowVisible(child) || !IsWindowEnabled(child) || id <= 0 || id == 0xFFFF ||
        skip.count(id) || IsComboBox(GetParent(child)) || kind == "msctls_progress32" ||
        (kind == "Static" && !(Style(child) & SS_NOTIFY)) ||
        (kind == "Button" && (Style(child) & BS_TYPEMASK) == BS_GROUPBOX)) {
      continue;
    }
    found.push_back(child);
  }
  return found;
}

}  // namespace

bool WalkSettings::Take(const std::string& step, const std::vector<std::string>& args,
                        const WalkHost& host) {
  auto need = [&](size_t count) {
    if (args.size() < count) Fail(step + ": " + std::to_string(count) + " arguments needed");
  };
  if (step == "walk-main") {
    need(1);
    main = args[0];
  } else if (step == "walk-action") {
    need(1);
    actions.push_back(args[0]);
  } else if (step == "walk-keys") {
    for (const std::string& range : args) {
      size_t dash = range.find('-');
      unsigned first = std::strtoul(range.c_str(), nullptr, 0);
      unsigned last =
          dash == std::string::npos ? first : std::strtoul(range.c_str() + dash + 1, nullptr, 0);
      for (unsigned key = first; key <= last; ++key) keys.push_back(key);
    }
  } else if (step == "walk-texts") {
    texts.insert(texts.end(), args.begin(), args.end());
  } else if (step == "walk-files") {
    need(1);
    files[args[0]].assign(args.begin() + 1, args.end());
  } else if (step == "walk-box") {
    need(2);
    boxes.emplace_back(args[0], args[1]);
  } else if (step == "walk-skip") {
    for (const std::string& name : args) skip.insert(host.IdOf(name));
  } else if (step == "walk-exit") {
    need(1);
    exit = args[0];
  } else if (step == "walk-write-log") {
    need(1);
    writeLog = args[0];
  } else if (step == "walk-confirm") {
    confirms.insert(confirms.end(), args.begin(), args.end());
  } else if (step == "walk-outputs") {
    need(3);
    outputs = args[0], saveTitle = args[1], inspector = args[2];
  } else {
    return false;
  }
  return true;
}

RandomWalk::RandomWalk(WalkHost& host, const WalkSettings& settings, uint32_t seed,
                       std::FILE* replay)
    : host_(host), settings_(settings), seed_(seed), replay_(replay), rng_(seed) {}

void RandomWalk::Run(std::chrono::seconds duration) {
  start_ = std::chrono::steady_clock::now();
  CheckAlive();
  recent_.push_back("(start-up)");
  CheckWrites();  // nothing is written before the walk: no command confirms it
  outputs_ = Outputs();
  while (std::chrono::steady_clock::now() - start_ < duration) Tick();
  walked_ = std::chrono::steady_clock::now() - start_;
  End();
}

void RandomWalk::Tick() {
  const std::vector<HWND> windows = host_.Windows();
  for (HWND window : windows) {
    if (IsMessageBox(window)) return AnswerBox(window, false);
  }
  for (HWND window : windows) {
    if (IsFileDialog(window)) return AnswerFileDialog(window);
  }
  HWND target = ChooseWindow(windows);
  if (!target) {  // between two windows
    Sleep(20);
    CheckAlive();
    return;
  }
  Enter(target);
  if (target == MainWindow() && !settings_.exit.empty() && rng_() % 500 == 0) return Exit();
  if (target == MainWindow() && !settings_.actions.empty() && Chance(35)) {
    return Do(Expand(settings_.actions[Below(settings_.actions.size())]));
  }
  ActOn(target);
}

void RandomWalk::Do(const std::string& line) {
  if (replay_) std::fprintf(replay_, "%s\n", line.c_str());
  recent_.push_back(line);
  if (recent_.size() > kRecentInputs) recent_.pop_front();
  ++inputs_;
  try {
    host_.Step(line);
  } catch (const StepFailure& failure) {
    // A window that closed by itself or a box that came first: the walk goes
    // on from what is on the screen now, unless the program is gone.
    ++failedSteps_;
    current_ = nullptr;  // the driver may be left on a window that closed
    if (replay_) std::fprintf(replay_, "# the step failed: %s\n", failure.what());
  }
  CheckInvariants();
}

void RandomWalk::CheckInvariants() {
  if (!leaving_) CheckAlive();
  CheckWrites();
  CheckOutputs();
}

void RandomWalk::CheckAlive() {
  DWORD status = 0;
  if (WaitForSingleObject(host_.Process(), 0) == WAIT_OBJECT_0) {
    GetExitCodeProcess(host_.Process(), &status);
    throw WalkFinding("the program ended (status " + std::to_string(status) + ")");
  }
  HWND main = MainWindow();
  if (!main) throw WalkFinding("the main window \"" + settings_.main + "\" is gone");
  DWORD_PTR ignored;
  if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMillis, &ignored)) {
    throw WalkFinding("the program did not answer within 10 seconds");
  }
}

bool RandomWalk::RecentlyDid(const std::string& pattern) const {
  const size_t from = recent_.size() > kConfirmReach ? recent_.size() - kConfirmReach : 0;
  for (size_t i = from; i < recent_.size(); ++i) {
    if (Matches(pattern.c_str(), recent_[i].c_str())) return true;
  }
  return false;
}

// Reads what the program added to its write log since the last check; only
// writes ("W FIRST BYTES" and the bytes) need a confirmed command, not opens.
void RandomWalk::CheckWrites() {
  if (settings_.writeLog.empty()) return;
  std::FILE* log = _wfopen(Wide(settings_.writeLog).c_str(), L"rb");
  if (!log) return;  // nothing opened yet
  std::string line;
  bool wrote = false;
  unsigned long long first = 0, bytes = 0;
  _fseeki64(log, static_cast<long long>(logSize_), SEEK_SET);
  for (int c; (c = std::fgetc(log)) != EOF;) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    if (std::sscanf(line.c_str(), "W %llu %llu", &first, &bytes) == 2) {
      wrote = true;
      _fseeki64(log, static_cast<long long>(bytes), SEEK_CUR);
      ++writes_;
    }
    line.clear();
    logSize_ = static_cast<uint64_t>(_ftelli64(log));
  }
  std::fclose(log);
  const bool confirmed = std::any_of(settings_.confirms.begin(), settings_.confirms.end(),
                                     [&](const std::string& p) { return RecentlyDid(p); });
  if (wrote && !confirmed) {
    throw WalkFinding("sector " + std::to_string(first) +
                      " was written without a confirmed command");
  }
}

std::map<std::string, RandomWalk::FileState> RandomWalk::Outputs() const {
  std::map<std::string, FileState> found;
  if (settings_.outputs.empty()) return found;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(Wide(settings_.outputs + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    uint64_t size = (uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow;
    found[Utf8(entry.cFileName)] = {size, entry.ftLastWriteTime};
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return found;
}

void RandomWalk::CheckOutputs() {
  if (settings_.outputs.empty()) return;
  std::map<std::string, FileState> now = Outputs();
  for (const auto& [name, state] : now) {
    auto before = outputs_.find(name);
    if (before != outputs_.end() && before->second.size == state.size &&
        CompareFileTime(&before->second.written, &state.written) == 0) {
      continue;
    }
    if (name.ends_with(".partial")) continue;  // a database being written
    if (!RecentlyDid("file-name " + Quote(settings_.saveTitle) + " *\\" + name)) {
      throw WalkFinding(name + " changed without being named in \"" + settings_.saveTitle + "\"");
    }
    const std::string check =
        "run " + Quote(settings_.inspector) + " inspect " + Quote(settings_.outputs + "\\" + name);
    if (replay_) std::fprintf(replay_, "%s\n", check.c_str());
    try {
      host_.Step(check);
    } catch (const StepFailure& failure) {
      throw WalkFinding(name + " does not decode: " + failure.what());
    }
    ++databases_;
  }
  outputs_ = std::move(now);
}

HWND RandomWalk::MainWindow() const {
  for (HWND window : host_.Windows()) {
    if (WindowText(window) == settings_.main) return window;
  }
  return nullptr;
}

// A dialog more often than the main window beside it: a dialog's work is
// where the commands meet.
HWND RandomWalk::ChooseWindow(const std::vector<HWND>& windows) {
  HWND main = nullptr;
  std::vector<HWND> dialogs;
  for (HWND window : windows) {
    if (!IsWindowEnabled(window)) continue;
    if (WindowText(window) == settings_.main) {
      main = window;
    } else if (IsDialog(window)) {
      dialogs.push_back(window);
    }
  }
  if (dialogs.empty() || (main && Chance(25))) return main;
  return dialogs[Below(dialogs.size())];
}

void RandomWalk::Enter(HWND window) {
  if (window == current_) return;
  current_ = window;
  Do("window " + Quote(WindowText(window)));
}

void RandomWalk::AnswerBox(HWND box, bool finishing) {
  const std::string caption = WindowText(box);
  HWND label = GetDlgItem(box, 0xFFFF);
  const std::string text = label ? WindowText(label) : std::string();
  const bool expected =
      std::any_of(settings_.boxes.begin(), settings_.boxes.end(), [&](const auto& allowed) {
        return allowed.first == caption && Matches(allowed.second.c_str(), text.c_str());
      });
  if (!expected) throw WalkFinding("an unexpected box \"" + caption + "\": " + text);
  std::vector<std::string> buttons;
  for (auto [id, name] :
       {std::pair{IDNO, "no"}, {IDOK, "ok"}, {IDCANCEL, "cancel"}, {IDYES, "yes"}}) {
    if (GetDlgItem(box, id)) buttons.push_back(name);
  }
  if (buttons.empty()) throw WalkFinding("a box \"" + caption + "\" without a button to press");
  ++boxes_;
  // When finishing, the first of no, ok, cancel: nothing more is written.
  const std::string button = finishing ? buttons.front() : buttons[Below(buttons.size())];
  Do("message " + Quote(caption) + " " + Quote(text) + " " + button);
}

void RandomWalk::AnswerFileDialog(HWND dialog) {
  const std::string title = WindowText(dialog);
  auto answers = settings_.files.find(title);
  if (answers == settings_.files.end() || answers->second.empty() || Chance(20)) {
    return Do("cancel-dialog " + Quote(title));
  }
  Do("file-name " + Quote(title) + " " + Quote(answers->second[Below(answers->second.size())]));
}

void RandomWalk::ActOn(HWND window) {
  std::vector<HWND> controls = ActionableControls(window, settings_.skip);
  if (controls.empty() || Chance(3)) return Do("press window 0x1B");  // Escape
  HWND control = controls[Below(controls.size())];
  const std::string id = std::to_string(GetDlgCtrlID(control));
  const std::string kind = ClassOf(control);
  if (kind == "Button") return Do("click " + id);
  if (kind == "Edit") {
    const bool typed = (Style(control) & (ES_MULTILINE | ES_READONLY)) || Chance(50);
    return Do(typed ? "press " + id + " " + Key() : "set-text " + id + " " + Quote(Text()));
  }
  if (kind == "ListBox") return ActOnList(id, control);
  if (kind == "ScrollBar") return Do("scroll-bar " + id + " " + std::to_string(Below(9)));  // SB_*
  if (IsComboBox(control)) return ActOnCombo(id, control);
  // Anything else (a picture, a preview) takes a click somewhere inside.
  RECT client;
  GetClientRect(control, &client);
  const std::string at =
      std::to_string(Below(client.right + 1)) + " " + std::to_string(Below(client.bottom + 1));
  Do("mouse " + id + " down " + at);
  Do("mouse " + id + " up " + at);
}

void RandomWalk::ActOnList(const std::string& id, HWND list) {
  const size_t count =
      static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(list, LB_GETCOUNT, 0, 0)));
  if (count == 0 || Chance(20)) return Do("press " + id + " " + Key());
  if (Chance(60)) {
    return Do("click-item " + id + " " + std::to_string(Below(count)) +
              (Chance(30) ? " shift" : ""));
  }
  std::string step = "select " + id;
  const bool many = Style(list) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL);
  for (size_t i = 0; i < count; ++i) {
    if (many ? Chance(30) : i == 0) step += " " + std::to_string(many ? i : Below(count));
  }
  Do(step);
}

void RandomWalk::ActOnCombo(const std::string& id, HWND combo) {
  const size_t count =
      static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(combo, CB_GETCOUNT, 0, 0)));
  const bool editable = (Style(combo) & 3) == CBS_DROPDOWN;
  if (count > 0 && (!editable || Chance(60))) {
    return Do("select " + id + " " + std::to_string(Below(count)));
  }
  if (editable) Do("set-text " + id + " " + Quote(Text()));
}

std::string RandomWalk::Key() {
  if (settings_.keys.empty()) return "0x1B";
  char key[8];
  std::snprintf(key, sizeof key, "0x%02X", settings_.keys[Below(settings_.keys.size())]);
  return key;
}

std::string RandomWalk::Text() {
  if (!settings_.texts.empty() && Chance(60)) return settings_.texts[Below(settings_.texts.size())];
  const uint64_t wide = (uint64_t{rng_()} << 32) | rng_();
  switch (Below(4)) {
    case 0:
      return std::to_string(Below(1000));
    case 1:
      return std::to_string(wide >> Below(64));
    case 2:
      return "-" + std::to_string(Below(100));
    default:
      return std::string(250 + Below(100), static_cast<char>('0' + Below(10)));  // too long
  }
}

std::string RandomWalk::Expand(std::string step) {
  for (size_t at; (at = step.find("{key}")) != std::string::npos;) step.replace(at, 5, Key());
  for (size_t at; (at = step.find("{text}")) != std::string::npos;)
    step.replace(at, 6, Quote(Text()));
  return step;
}

// The exit input, and its questions answered at random: the program either
// stays (a Cancel) or has ended with status 0 and starts again.
void RandomWalk::Exit() {
  leaving_ = true;
  Do(settings_.exit);
  if (!Leave(false)) return CheckAlive();
  ++restarts_;
  current_ = nullptr;
  leaving_ = true;  // no main window until the start-up's last step
  for (const std::string& line : host_.StartUp()) Do(line);
  leaving_ = false;
  CheckAlive();
}

// Answers what is open (no, ok or cancel: nothing more is written), closes
// the dialogs and then the main window; the program must end cleanly.
void RandomWalk::End() {
  leaving_ = true;
  Leave(true);
  for (const auto& [name, state] : Outputs()) {
    if (name.ends_with(".partial")) throw WalkFinding("a partial database was left: " + name);
  }
}

// Answers boxes until the program ends, which it must with status 0. When
// `finishing`, the answers are No, OK or Cancel and every window is closed;
// otherwise they are random and the program may stay: false when it does.
bool RandomWalk::Leave(bool finishing) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  bool closing = false;
  while (WaitForSingleObject(host_.Process(), 50) == WAIT_TIMEOUT) {
    if (std::chrono::steady_clock::now() > deadline) throw WalkFinding("the program did not end");
    HWND box = nullptr, dialog = nullptr;
    for (HWND window : host_.Windows()) {
      if (IsMessageBox(window)) {
        box = window;
      } else if (!dialog && IsDialog(window) && WindowText(window) != settings_.main) {
        dialog = window;
      }
    }
    if (box) {
      AnswerBox(box, finishing);
    } else if (!finishing) {
      if (MainWindow()) return leaving_ = false;  // it stays
    } else if (dialog && IsFileDialog(dialog)) {
      Do("cancel-dialog " + Quote(WindowText(dialog)));
    } else if (dialog) {
      Enter(dialog);
      Do("system-command 0xF060");  // SC_CLOSE
    } else if (!closing && MainWindow()) {
      closing = true;
      Enter(MainWindow());
      if (replay_) std::fprintf(replay_, "close\n");
      PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    }
  }
  leaving_ = false;
  DWORD status = 1;
  GetExitCodeProcess(host_.Process(), &status);
  if (status != 0) throw WalkFinding("the program ended with status " + std::to_string(status));
  return true;
}

std::string RandomWalk::Summary() const {
  // A finding ends the walk before its time is taken.
  const auto walked = walked_.count() ? walked_ : std::chrono::steady_clock::now() - start_;
  const double minutes = std::chrono::duration<double>(walked).count() / 60;
  char text[400];
  std::snprintf(text, sizeof text,
                "seed %u: %zu inputs in %.1f min (%.0f a minute), %zu steps overtaken by the "
                "program, %zu boxes answered, %zu confirmed disk writes, %zu databases "
                "decoded, %zu restarts",
                seed_, inputs_, minutes, minutes > 0 ? inputs_ / minutes : 0.0, failedSteps_,
                boxes_, writes_, databases_, restarts_);
  return text;
}

std::string RandomWalk::LastInputs() const {
  std::string lines;
  for (const std::string& line : recent_) lines += "  " + line + "\n";
  return lines;
}

}  // namespace gui_driver
