// Search Disk: the pattern state kept between uses of the dialog, hexadecimal
// entry, the chunked scan of the disk, and the worker thread that runs it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sectoredit/editor/sector_session.h"
#include "sectoredit/editor/text_pane.h"
#include "sectoredit/editor/ui_post.h"
#include "sectoredit/editor/worker_thread.h"

namespace sectoredit {

inline constexpr size_t kSearchPatternSize = 50;
inline constexpr uint8_t kMaxHexDigits = 50;    // 25 pattern bytes
inline constexpr size_t kMaxAsciiPattern = 49;  // the rest of SearchPattern is its terminator

struct SearchState {
  std::array<uint8_t, kSearchPatternSize> SearchPattern{};
  bool hex_mode = false;
  uint8_t nibble_count = 0;
  bool high_nibble_next = true;  // an even number of digits entered
  std::string hex_text;          // digit pairs separated by one space
};

// Adds one digit; false when 50 are already entered.
bool EnterHexDigit(SearchState& state, uint8_t value, char character);
// Removes the last digit; false when there is none.
bool EraseHexDigit(SearchState& state);
// Switches mode; true when it changed, and the pattern field is then cleared.
bool ChooseSearchMode(SearchState& state, bool hex);
// What the pattern field shows when the dialog opens.
std::string SearchFieldText(const SearchState& state);
// A search can start unless an odd number of hex digits is entered.
bool CanStartSearch(const SearchState& state);
// The bytes to search for: the entered hex bytes, or (ASCII mode) the field's
// text, at most 49 characters, which is kept in SearchPattern.
std::vector<uint8_t> TakeSearchPattern(SearchState& state, std::string_view field_text);

// Offset of the first occurrence of `pattern` wholly inside `chunk`.
std::optional<size_t> FindPattern(std::span<const uint8_t> chunk, std::span<const uint8_t> pattern);
// "%3.3f%% Complete" of `offset` sectors out of `span`.
std::string SearchProgress(uint64_t offset, uint64_t span);
// The number of sectors a search from `first` covers: those before `last`.
uint64_t SearchSpan(SectorNumber first, SectorNumber last);

struct SearchOutcome {
  enum Kind { kNotFound, kFound, kNoMemory } kind = kNotFound;
  SectorNumber sector = 0;  // the sector holding the first byte of the hit
};

// Scans the sectors first..last-1 in chunks of up to 128 sectors, each chunk
// starting with the last sector of the one before so that an occurrence across
// a chunk boundary lies wholly inside the next chunk. Stops before a chunk once
// `running` is cleared. Bytes a read did not deliver never make a hit.
// `progress` learns the offset of each chunk read, out of the span searched.
using SearchProgressCallback = std::function<void(uint64_t offset, uint64_t span)>;
SearchOutcome SearchSectors(SectorDevice& device, SectorNumber first, SectorNumber last,
                            std::span<const uint8_t> pattern, const std::atomic<bool>& running,
                            const SearchProgressCallback& progress);

// The Search Disk dialog's behaviour on the user-interface thread, and the
// SearchThread it starts. The object lives as long as the window, so the
// pattern and mode survive closing the dialog.
class DiskSearch {
 public:
  DiskSearch(SectorSession& editor, UiPost& post) : editor_(editor), post_(post) {}
  ~DiskSearch() { Close(); }
  DiskSearch(const DiskSearch&) = delete;
  DiskSearch& operator=(const DiskSearch&) = delete;

  SearchState state;
  std::atomic<bool> SearchRunning{false};

  struct Dialog {
    TextPane& field;
    TextPane& progress;
    std::function<void()> close;  // posts WM_CLOSE to the dialog
  };
  // Shows the dialog's start state; false when the dialog is already open.
  bool Open(Dialog dialog);
  bool is_open() const { return dialog_.has_value(); }

  // The hex-digit and Backspace commands the dialog receives in hex mode.
  void HexDigitCommand(uint32_t id);
  void EraseDigit();
  void ChooseMode(bool hex);
  // The Search button; false when refused (busy, or an odd number of digits).
  bool StartSearch();
  // The dialog closes: the search stops, and its thread is waited for.
  void Close();

 private:
  void RunThread(SectorNumber first, SectorNumber last, const std::vector<uint8_t>& pattern,
                 uint64_t serial);
  void NoteProgress(uint64_t offset);
  void ShowProgress();
  void Finish(uint64_t serial);
  void Complete(bool close_dialog);

  SectorSession& editor_;
  UiPost& post_;
  std::optional<Dialog> dialog_;
  WorkerThread thread_;
  uint64_t serial_ = 0;    // tells posts of an earlier search from the current one
  uint64_t span_ = 0;      // sectors the current search covers
  SearchOutcome outcome_;  // written by the thread, read after joining it
  // Progress goes as at most one pending notice, which shows the latest
  // offset when it runs: a chunk is read far faster than a window repaints,
  // and a notice per chunk would fill the window's queue.
  std::atomic<uint64_t> progress_offset_{0};
  std::atomic<bool> progress_pending_{false};
};

}  // namespace sectoredit
