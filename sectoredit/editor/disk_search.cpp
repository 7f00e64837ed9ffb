#include "sectoredit/editor/disk_search.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sectoredit/editor/chunk_buffer.h"
#include "sectoredit/editor/sector_view.h"

namespace sectoredit {

bool EnterHexDigit(SearchState& state, uint8_t value, char character) {
  if (state.nibble_count >= kMaxHexDigits) return false;
  const uint8_t count = state.nibble_count;
  state.hex_text.resize(count * 3 / 2);
  state.hex_text += character;
  if (state.high_nibble_next) {
    uint8_t& byte = state.SearchPattern[count / 2];
    byte = static_cast<uint8_t>((byte & 0x0F) | (value << 4));
  } else {
    uint8_t& byte = state.SearchPattern[(count - 1) / 2];
    byte = static_cast<uint8_t>((byte & 0xF0) | value);
    state.hex_text += ' ';
  }
  ++state.nibble_count;
  state.high_nibble_next = !state.high_nibble_next;
  return true;
}

bool EraseHexDigit(SearchState& state) {
  if (state.nibble_count == 0) return false;
  const uint8_t count = --state.nibble_count;
  state.hex_text.resize(count * 3 / 2);
  if (state.high_nibble_next) {
    state.SearchPattern[(count - 1) / 2] &= 0xF0;
  } else {
    state.SearchPattern[count / 2] &= 0x0F;
  }
  state.high_nibble_next = !state.high_nibble_next;
  return true;
}

bool ChooseSearchMode(SearchState& state, bool hex) {
  if (state.hex_mode == hex) return false;
  if (hex) {
    state.SearchPattern[0] = state.SearchPattern[1] = 0;
    state.hex_text.clear();
  } else {
    state.SearchPattern[0] = 0;
  }
  state.nibble_count = 0;
  state.high_nibble_next = true;
  state.hex_mode = hex;
  return true;
}

std::string SearchFieldText(const SearchState& state) {
  if (state.hex_mode && state.nibble_count > 0) return state.hex_text;
  const auto* text = reinterpret_cast<const char*>(state.SearchPattern.data());
  return std::string(text, strnlen(text, kSearchPatternSize));
}

bool CanStartSearch(const SearchState& state) {
  return !state.hex_mode || state.nibble_count % 2 == 0;
}

std::vector<uint8_t> TakeSearchPattern(SearchState& state, std::string_view field_text) {
  if (state.hex_mode) {
    return {state.SearchPattern.begin(), state.SearchPattern.begin() + state.nibble_count / 2};
  }
  const std::string_view text = field_text.substr(0, kMaxAsciiPattern);
  state.SearchPattern.fill(0);
  std::copy(text.begin(), text.end(), state.SearchPattern.begin());
  return {text.begin(), text.end()};
}

std::optional<size_t> FindPattern(std::span<const uint8_t> chunk,
                                  std::span<const uint8_t> pattern) {
  if (pattern.empty() || pattern.size() > chunk.size()) return std::nullopt;
  const uint8_t* const begin = chunk.data();
  const uint8_t* const last_start = begin + (chunk.size() - pattern.size());
  for (const uint8_t* at = begin; at <= last_start; ++at) {
    at = static_cast<const uint8_t*>(std::memchr(at, pattern[0], last_start - at + 1));
    if (!at) return std::nullopt;
    if (std::memcmp(at + 1, pattern.data() + 1, pattern.size() - 1) == 0) {
      return static_cast<size_t>(at - begin);
    }
  }
  return std::nullopt;
}

std::string SearchProgress(uint64_t offset, uint64_t span) {
  const double percent = span == 0 ? 100.0 : static_cast<double>(offset) * 100.0 / span;
  char text[32];
  std::snprintf(text, sizeof text, "%3.3f%% Complete", percent);
  return text;
}

uint64_t SearchSpan(SectorNumber first, SectorNumber last) {
  return first < last ? last - first : 0;
}

SearchOutcome SearchSectors(SectorDevice& device, SectorNumber first, SectorNumber last,
                            std::span<const uint8_t> pattern, const std::atomic<bool>& running,
                            const SearchProgressCallback& progress) {
  if (pattern.empty()) return {};
  const auto buffer = AllocateChunk();
  if (!buffer) return {SearchOutcome::kNoMemory};
  const uint64_t span = SearchSpan(first, last);
  for (uint64_t offset = 0; offset < span && running.load();) {
    const auto count =
        static_cast<uint32_t>(std::min<uint64_t>(kMaxTransferSectors, span - offset));
    const SectorNumber sector = first + offset;
    // The direct read shows no box: boxes belong to the user-interface thread.
    const uint32_t got = device.ReadDiskSectorsDirect(sector, count, buffer.get());
    if (progress) progress(offset, span);
    const size_t valid = std::min<size_t>(got, size_t{count} * kSectorSize);
    if (const auto hit = FindPattern({buffer.get(), valid}, pattern)) {
      return {SearchOutcome::kFound, sector + *hit / kSectorSize};
    }
    if (offset + count == span) break;  // this chunk reached the end
    offset += count > 1 ? count - 1 : 1;
  }
  return {};
}

bool DiskSearch::Open(Dialog dialog) {
  if (dialog_) return false;
  dialog_.emplace(dialog);
  dialog_->field.SetText(SearchFieldText(state));
  return true;
}

void DiskSearch::HexDigitCommand(uint32_t id) {
  const std::optional<HexDigit> digit = HexDigitOf(id);
  if (!dialog_ || !state.hex_mode || !digit) return;
  if (EnterHexDigit(state, digit->value, digit->character)) dialog_->field.SetText(state.hex_text);
}

void DiskSearch::EraseDigit() {
  if (dialog_ && state.hex_mode && EraseHexDigit(state)) dialog_->field.SetText(state.hex_text);
}

void DiskSearch::ChooseMode(bool hex) {
  if (ChooseSearchMode(state, hex) && dialog_) dialog_->field.SetText("");
}

bool DiskSearch::StartSearch() {
  if (!dialog_ || editor_.state.Busy.load() || !CanStartSearch(state)) return false;
  const SectorNumber first = editor_.state.CurrentSector;
  const SectorNumber last = editor_.LastSector();
  editor_.state.Busy = true;
  SearchRunning = true;
  span_ = SearchSpan(first, last);
  progress_offset_ = 0;
  const uint64_t serial = ++serial_;
  const bool started = thread_.Start(
      [this, first, last, serial, pattern = TakeSearchPattern(state, dialog_->field.Text())] {
        RunThread(first, last, pattern, serial);
      });
  if (!started) {
    SearchRunning = false;
    editor_.state.Busy = false;
    editor_.messages().Show("Unable to start the search", "Search Error");
  }
  return started;
}

void DiskSearch::RunThread(SectorNumber first, SectorNumber last, const std::vector<uint8_t>& pattern,
                           uint64_t serial) {
  outcome_ = SearchSectors(editor_.device(), first, last, pattern, SearchRunning,
                           [this](uint64_t offset, uint64_t) { NoteProgress(offset); });
  // Without the finish notice Busy would stay set for good: a full queue is
  // waited out, unless the dialog is closing, whose Close() joins this thread.
  constexpr unsigned kRetryMilliseconds = 10;
  while (!post_.Post([this, serial] { Finish(serial); }) && SearchRunning.load()) {
    PauseThread(kRetryMilliseconds);
  }
}

void DiskSearch::NoteProgress(uint64_t offset) {
  progress_offset_ = offset;
  if (progress_pending_.exchange(true)) return;  // the pending notice shows it
  if (!post_.Post([this] { ShowProgress(); })) progress_pending_ = false;
}

void DiskSearch::ShowProgress() {
  progress_pending_ = false;  // before reading the offset, so no later one is missed
  if (dialog_ && thread_.joinable()) {
    dialog_->progress.SetText(SearchProgress(progress_offset_.load(), span_));
  }
}

void DiskSearch::Finish(uint64_t serial) {
  // A search already completed by Close() leaves its last post behind.
  if (serial == serial_ && thread_.joinable()) Complete(true);
}

void DiskSearch::Complete(bool close_dialog) {
  thread_.Join();
  const SearchOutcome outcome = outcome_;
  if (outcome.kind == SearchOutcome::kNoMemory) {
    editor_.messages().ShowStyled("Insufficient memory to perform search", "Search Error",
                                  common::kOwnedByDialog);
  } else if (outcome.kind == SearchOutcome::kFound) {
    editor_.state.Dirty = false;  // the hit replaces the sector without asking
    editor_.LoadSector(outcome.sector, SectorSession::ReadMode::kReported, true,
                       common::kOwnedByDialog);
    editor_.RenderSector();
  }
  editor_.state.Busy = false;
  // The dialog closes after every search, found or not.
  if (close_dialog && dialog_) {
    const std::function<void()> close = dialog_->close;  // closing may forget dialog_
    close();
  }
}

void DiskSearch::Close() {
  SearchRunning = false;
  if (thread_.joinable()) Complete(false);
  dialog_.reset();
}

}  // namespace sectoredit
