// The disk tools that work on runs of sectors from CurrentSector: Goto Sector,
// Export and Import through a SectorImageFile, and Copy Block. Every transfer
// goes in chunks of at most 128 sectors through one 64 KB buffer.
//
// A SectorImageFile is the raw concatenation of 512-byte sectors in ascending
// order, with nothing before, between or after them; its first sector is the
// starting sector.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sectoredit/editor/sector_session.h"

namespace sectoredit {

struct FileDialogRequest {
  std::string_view title;
  std::string_view filter;  // pairs of description and pattern, each ended by a zero
  std::string_view default_extension;
  bool save;
};

inline constexpr std::string_view kImageFilter{"Binary Files\0*.bin\0All Files\0*.*\0\0", 34};
inline constexpr FileDialogRequest kExportDialog{"Save Sector Image As", kImageFilter, "bin", true};
inline constexpr FileDialogRequest kImportDialog{"Open Sector Image", kImageFilter, "bin", false};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Shows the dialog preset with `name`; false when cancelled, else `name` is the choice.
  virtual bool Choose(const FileDialogRequest& request, std::string& name) = 0;
};

// "Number of Sectors *": returns the count, 0 when cancelled or not a number.
class SectorCountDialog {
 public:
  virtual ~SectorCountDialog() = default;
  virtual SectorNumber Ask(SectorNumber initial) = 0;
};

// Answers the file dialog with a fixed name (or cancels when it is empty).
class PresetFileDialogs : public FileDialogs {
 public:
  explicit PresetFileDialogs(std::string name) : name_(std::move(name)) {}
  bool Choose(const FileDialogRequest& request, std::string& name) override;
  const std::string& last_title() const { return last_title_; }

 private:
  std::string name_;
  std::string last_title_;
};

// Answers the count dialog with a fixed count, or accepts its initial value.
class PresetCountDialog : public SectorCountDialog {
 public:
  explicit PresetCountDialog(std::optional<SectorNumber> count) : count_(count) {}
  SectorNumber Ask(SectorNumber initial) override;
  std::optional<SectorNumber> last_initial() const { return last_initial_; }

 private:
  std::optional<SectorNumber> count_;
  std::optional<SectorNumber> last_initial_;
};

// Progress of long work; either callback may be empty.
struct ToolProgress {
  std::function<void(const std::string& text)> show;
  std::function<bool()> cancelled;
};

enum class ToolResult {
  kDone,       // everything asked for was transferred
  kCancelled,  // nothing done: a dialog was cancelled, a count of 0, cancel pressed, or busy
  kFailed,     // stopped by an error, which was reported
};

// A digits-only field's value as GetDlgItemInt reads one, but 64-bit: 0 unless
// it is a decimal number up to 2^64 - 1 (a larger one overflows to 0, as there).
SectorNumber FieldValue(std::string_view text);
// "%i%% Complete" of done out of total, without overflow.
std::string PercentComplete(uint64_t done, uint64_t total);

class SectorTools {
 public:
  SectorTools(SectorSession& editor, FileDialogs& files, SectorCountDialog& counts)
      : editor_(editor), files_(files), counts_(counts) {}

  // Goes to `sector`, or to LastSector when it lies beyond; drops unsaved edits.
  // Each tool does nothing while a search runs (Busy).
  void GotoSector(SectorNumber sector);
  ToolResult ExportSectors(const ToolProgress& progress = {});
  ToolResult ImportSectors(const ToolProgress& progress = {});
  // Copies `total` sectors from CurrentSector to `destination`; not bounded by LastSector.
  ToolResult CopyBlock(SectorNumber destination, SectorNumber total, const ToolProgress& progress = {});

  const std::string& image_name() const { return image_name_; }

 private:
  ToolResult ExportTo(std::FILE* file, SectorNumber count, const ToolProgress& progress);
  ToolResult ImportFrom(std::FILE* file, SectorNumber count, const ToolProgress& progress, bool& wrote);

  SectorSession& editor_;
  FileDialogs& files_;
  SectorCountDialog& counts_;
  std::string image_name_;
};

}  // namespace sectoredit
