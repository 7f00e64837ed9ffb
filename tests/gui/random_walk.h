// A seeded random walk of legal inputs through a program's windows: menu
// commands, keys, clicks, texts, dialogs and message boxes answered at random,
// each input a step of the driver's script language. After every input the
// walk checks what a user relies on: the program is alive and answers within
// 10 seconds, every message box is one the program is meant to show, the disk
// is written only by a confirmed command, and files appear only through the
// Save dialog, each one a database that decodes.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace gui_driver {

// A broken invariant; the walk stops at the first.
struct WalkFinding : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What the walk needs of the driver.
class WalkHost {
 public:
  virtual ~WalkHost() = default;
  // Runs one step of the script language; throws StepFailure.
  virtual void Step(const std::string& line) = 0;
  // The program's visible top-level windows.
  virtual std::vector<HWND> Windows() const = 0;
  virtual HANDLE Process() const = 0;
  // A control name of the ids header, or a number.
  virtual long IdOf(const std::string& name) const = 0;
  // The steps that started the program, to start it again.
  virtual std::vector<std::string> StartUp() const = 0;
};

// The walk's settings: the script's walk-* steps.
//   walk-main CAPTION            the main window
//   walk-action STEP             a main-window input to choose among, in which
//                                {key} becomes a key of walk-keys and {text}
//                                a text of walk-texts, a random number or a
//                                run of hundreds of digits
//   walk-keys VK|FIRST-LAST...   keys typed into panes, fields and lists
//   walk-texts TEXT...           texts put into fields (else a random
//                                number or a run of hundreds of digits)
//   walk-files TITLE PATH...     an Open/Save dialog's title and its answers
//   walk-box CAPTION TEXT        a message box the program may show (* in
//                                TEXT matches any run of characters)
//   walk-skip CTRL...            controls never touched
//   walk-exit STEP               the input that ends the program; now and then
//                                the walk gives it, answers what it asks, and
//                                when the program has ended (status 0) starts
//                                it again
//   walk-write-log FILE          the program logs each disk write there...
//   walk-confirm STEP...         ...and may write only within 3 inputs of a
//                                step matching one of these (* matches any text)
//   walk-outputs FOLDER TITLE INSPECTOR
//                                files in FOLDER change only within 3 inputs of
//                                naming them in the Save dialog TITLE, and
//                                `INSPECTOR inspect FILE` accepts each
struct WalkSettings {
  std::string main;
  std::vector<std::string> actions;
  std::vector<unsigned> keys;
  std::vector<std::string> texts;
  std::map<std::string, std::vector<std::string>> files;
  std::vector<std::pair<std::string, std::string>> boxes;
  std::set<long> skip;
  std::string exit;
  std::string writeLog;
  std::vector<std::string> confirms;
  std::string outputs, saveTitle, inspector;

  // Takes one walk-* step; false when `step` is none of them.
  bool Take(const std::string& step, const std::vector<std::string>& args, const WalkHost& host);
};

class RandomWalk {
 public:
  // Every input is appended to `replay` as a script line.
  RandomWalk(WalkHost& host, const WalkSettings& settings, uint32_t seed, std::FILE* replay);

  // Walks for `duration`, then closes the program, which must end with
  // status 0. Throws WalkFinding.
  void Run(std::chrono::seconds duration);

  std::string Summary() const;
  std::string LastInputs() const;

 private:
  struct FileState {
    uint64_t size;
    FILETIME written;
  };

  void Tick();
  void Do(const std::string& line);
  void CheckInvariants();
  void CheckAlive();
  void CheckWrites();
  void CheckOutputs();
  void Exit();
  void End();
  bool Leave(bool finishing);

  HWND MainWindow() const;
  HWND ChooseWindow(const std::vector<HWND>& windows);
  void Enter(HWND window);
  void AnswerBox(HWND box, bool finishing);
  void AnswerFileDialog(HWND dialog);
  void ActOn(HWND window);
  void ActOnList(const std::string& id, HWND list);
  void ActOnCombo(const std::string& id, HWND combo);
  bool RecentlyDid(const std::string& pattern) const;
  std::map<std::string, FileState> Outputs() const;

  size_t Below(size_t n) { return n ? rng_() % n : 0; }
  bool Chance(unsigned percent) { return rng_() % 100 < percent; }
  std::string Key();
  std::string Text();
  std::string Expand(std::string step);

  WalkHost& host_;
  const WalkSettings& settings_;
  uint32_t seed_;
  std::FILE* replay_;
  std::mt19937 rng_;
  HWND current_ = nullptr;
  bool leaving_ = false;  // the program may end: no check that it is alive
  std::deque<std::string> recent_;
  uint64_t logSize_ = 0;
  std::map<std::string, FileState> outputs_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::duration walked_{};
  size_t inputs_ = 0, failedSteps_ = 0, boxes_ = 0, writes_ = 0, databases_ = 0, restarts_ = 0;
};

}  // namespace gui_driver
