#include "sectoredit/editor/sector_tools.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "common/files.h"
#include "sectoredit/editor/chunk_buffer.h"

namespace sectoredit {

namespace {

constexpr char kExportError[] = "Error Exporting to file.  Click OK to continue";
constexpr char kImportError[] = "Error Importing from file.  Click OK to continue";

// Sectors an export or import may move: they stop before LastSector.
uint64_t SectorsBeforeLast(SectorNumber first, SectorNumber last, uint64_t count) {
  return std::min(count, first < last ? last - first : 0);
}

// A run of `count` sectors from `first` that stays below 2^64, so never wraps.
bool RunFits(SectorNumber first, uint64_t count) {
  return count == 0 || count - 1 <= std::numeric_limits<SectorNumber>::max() - first;
}

uint32_t ChunkSectors(uint64_t remaining) {
  return static_cast<uint32_t>(std::min<uint64_t>(remaining, kMaxTransferSectors));
}

void Show(const ToolProgress& progress, uint64_t done, uint64_t total) {
  if (progress.show) progress.show(PercentComplete(done, total));
}

bool Cancelled(const ToolProgress& progress) { return progress.cancelled && progress.cancelled(); }

std::string WriteErrorQuestion(uint64_t sector) {
  char text[128];
  std::snprintf(
      text, sizeof text,
      "Error encountered writing at sector %llu\nDo you wish to ignore errors and continue?",
      static_cast<unsigned long long>(sector));
  return text;
}

}  // namespace

bool PresetFileDialogs::Choose(const FileDialogRequest& request, std::string& name) {
  last_title_ = request.title;
  if (name_.empty()) return false;
  name = name_;
  return true;
}

SectorNumber PresetCountDialog::Ask(SectorNumber initial) {
  last_initial_ = initial;
  return count_.value_or(initial);
}

SectorNumber FieldValue(std::string_view text) {
  SectorNumber value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || text.front() == '-' || error != std::errc() || stop != end) return 0;
  return value;
}

std::string PercentComplete(uint64_t done, uint64_t total) {
  uint64_t percent = 100;
  if (total > std::numeric_limits<uint64_t>::max() / 100) {
    percent = done / (total / 100);  // done * 100 could overflow
  } else if (total != 0) {
    percent = done * 100 / total;  // done <= total
  }
  return std::to_string(percent) + "% Complete";
}

void SectorTools::GotoSector(SectorNumber sector) {
  if (editor_.state.Busy) return;
  editor_.state.Dirty = false;
  editor_.LoadSector(std::min(sector, editor_.LastSector()), SectorSession::ReadMode::kDirect, true,
                     common::kOwnedByDialog);
  editor_.RenderSector();
}

ToolResult SectorTools::ExportSectors(const ToolProgress& progress) {
  if (editor_.state.Busy || !files_.Choose(kExportDialog, image_name_)) {
    return ToolResult::kCancelled;
  }
  // Truncated before the count is asked, as users of the tool expect.
  std::FILE* file = std::fopen(image_name_.c_str(), "wb+");
  if (!file) {
    editor_.messages().Show(kExportError, "Export Error");
    return ToolResult::kFailed;
  }
  // Whole chunks go straight to the file: one write per chunk, no stdio copy.
  std::setvbuf(file, nullptr, _IONBF, 0);
  const SectorNumber count = counts_.Ask(0);
  ToolResult result = count == 0 ? ToolResult::kCancelled : ExportTo(file, count, progress);
  if (std::fclose(file) != 0 && result == ToolResult::kDone) {
    editor_.messages().Show(kExportError, "Export Error");
    result = ToolResult::kFailed;
  }
  return result;
}

ToolResult SectorTools::ExportTo(std::FILE* file, SectorNumber count, const ToolProgress& progress) {
  const auto buffer = AllocateChunk();
  if (!buffer) return ToolResult::kFailed;
  const SectorNumber first = editor_.state.CurrentSector;
  const uint64_t total = SectorsBeforeLast(first, editor_.LastSector(), count);
  for (uint64_t done = 0; done < total;) {
    if (Cancelled(progress)) return ToolResult::kCancelled;
    const uint32_t n = ChunkSectors(total - done);
    // A chunk whose read falls short is never written, so no stale bytes leave.
    if (editor_.device().ReadDiskSectors(first + done, n, buffer.get()) != n * kSectorSize ||
        std::fwrite(buffer.get(), kSectorSize, n, file) != n) {
      editor_.messages().Show(kExportError, "Export Error");
      return ToolResult::kFailed;
    }
    done += n;
    Show(progress, done, total);
  }
  return ToolResult::kDone;
}

ToolResult SectorTools::ImportSectors(const ToolProgress& progress) {
  if (editor_.state.Busy) return ToolResult::kCancelled;
  ToolResult result = ToolResult::kCancelled;
  if (files_.Choose(kImportDialog, image_name_)) {
    if (std::FILE* file = std::fopen(image_name_.c_str(), "rb")) {
      const std::optional<uint64_t> length = common::FileLength(file);
      const uint64_t sectors = length ? (*length + kSectorSize - 1) / kSectorSize : 0;
      const SectorNumber count = counts_.Ask(sectors);
      bool wrote = false;
      if (count != 0) result = ImportFrom(file, count, progress, wrote);
      if (wrote) {
        // The disk changed under the view: show what is there now.
        editor_.LoadSector(editor_.state.CurrentSector, SectorSession::ReadMode::kReported, false);
        editor_.state.Dirty = false;
      }
      std::fclose(file);
    } else {
      editor_.messages().Show(kImportError, "Import Error");
      result = ToolResult::kFailed;
    }
  }
  editor_.RenderSector();
  return result;
}

ToolResult SectorTools::ImportFrom(std::FILE* file, SectorNumber count, const ToolProgress& progress,
                                   bool& wrote) {
  const auto buffer = AllocateChunk();
  if (!buffer) return ToolResult::kFailed;
  const SectorNumber first = editor_.state.CurrentSector;
  const uint64_t total = SectorsBeforeLast(first, editor_.LastSector(), count);
  for (uint64_t done = 0; done < total;) {
    if (Cancelled(progress)) return ToolResult::kCancelled;
    const uint32_t n = ChunkSectors(total - done);
    std::memset(buffer.get(), 0, kChunkBytes);  // a short last sector is zero-filled
    const size_t got = std::fread(buffer.get(), 1, size_t{n} * kSectorSize, file);
    if (std::ferror(file)) {
      editor_.messages().Show(kImportError, "Import Error");
      return ToolResult::kFailed;
    }
    const auto sectors = static_cast<uint32_t>((got + kSectorSize - 1) / kSectorSize);
    if (sectors == 0) break;  // the file ended
    const SectorNumber sector = first + done;
    wrote = true;
    if (editor_.device().WriteDiskSectors(sector, sectors, buffer.get()) !=
        sectors * kSectorSize) {
      const common::MessageStyle error_icon{.icon = common::MessageStyle::Icon::kError};
      if (!editor_.messages().AskStyled(WriteErrorQuestion(sector), "Error", error_icon)) {
        return ToolResult::kFailed;
      }
    }
    done += sectors;
    Show(progress, done, total);
    if (sectors < n) break;  // the file ended inside this chunk
  }
  return ToolResult::kDone;
}

ToolResult SectorTools::CopyBlock(SectorNumber destination, SectorNumber total,
                                  const ToolProgress& progress) {
  if (editor_.state.Busy) return ToolResult::kCancelled;
  common::Messages& messages = editor_.messages();
  const auto buffer = AllocateChunk();
  if (!buffer) {
    messages.Show("Insufficient free memory to perform transfer", "Error Copying");
    return ToolResult::kFailed;
  }
  const SectorNumber source = editor_.state.CurrentSector;
  // A run reaching past the last sector number would wrap onto sector 0.
  if (!RunFits(source, total) || !RunFits(destination, total)) {
    messages.Show(kSectorAccessError, kDataErrorCaption);
    return ToolResult::kFailed;
  }
  // A destination inside the source run is copied from the end backwards, so
  // no source sector is overwritten before it has been read.
  const bool backwards = destination > source && destination - source < total;
  for (uint64_t done = 0; done < total;) {
    if (Cancelled(progress)) return ToolResult::kCancelled;
    const uint32_t n = ChunkSectors(total - done);
    const uint64_t offset = backwards ? total - done - n : done;
    if (editor_.device().ReadDiskSectors(source + offset, n, buffer.get()) != n * kSectorSize ||
        editor_.device().WriteDiskSectors(destination + offset, n, buffer.get()) !=
            n * kSectorSize) {
      messages.ShowStyled(kSectorAccessError, kDataErrorCaption, common::kOwnedByDialog);
      return ToolResult::kFailed;
    }
    done += n;
    Show(progress, done, total);
  }
  messages.Show("Copying of sectors has been completed succesfully", "Copy Complete");
  return ToolResult::kDone;
}

}  // namespace sectoredit
