#include "fuzz/generation_stage.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/output/byte_buffer.h"
#include "converter/output/generation.h"
#include "converter/output/panel_walk.h"
#include "converter/output/pdb_inspect.h"
#include "converter/ui/form_handlers.h"
#include "fuzz/fuzz_check.h"

namespace fuzz_stage {
namespace {

constexpr size_t kMaxUnfiled = 32;

void ChooseWork(velmora::FormState& form, common::Messages& messages) {
  for (size_t i = 0; i < form.panelList.size(); ++i) form.panelList.Select(i);
  velmora::AddPanelBtnClick(form, messages);
  velmora::CcfReader reader(*form.ccfImage, messages);
  for (const std::string& panel : form.categoryList.items()) {
    for (std::string& button :
         velmora::ListPanelButtons(reader, velmora::HexToOffset(panel), form.format)) {
      if (form.unfiledList.size() >= kMaxUnfiled) return;
      if (!form.unfiledList.Contains(button)) form.unfiledList.Add(std::move(button));
    }
  }
}

size_t CountKind(const velmora::InspectedDatabase& db, velmora::RecordKind kind) {
  return std::count_if(db.records.begin(), db.records.end(),
                       [kind](const velmora::InspectedRecord& r) { return r.kind == kind; });
}

// A database reported as written decodes: every announced record begun, in
// order, inside the file; then the info record, one bitmap record per IconList
// entry, a style record after every control record, and the hard keys of every
// category.
void CheckDatabase(const velmora::Bytes& file, const velmora::FormState& form) {
  velmora::InspectResult result = velmora::InspectDatabase(file);
  if (!result.database) std::fprintf(stderr, "%s\n", result.error.c_str());
  FUZZ_CHECK(result.database);
  const velmora::InspectedDatabase& db = *result.database;
  const size_t categories = form.categoryList.size();
  FUZZ_CHECK(db.records.size() == db.record_count && db.labels.size() == categories + 1);
  FUZZ_CHECK(!db.records.empty() && db.records[0].kind == velmora::RecordKind::kDatabaseInfo);
  FUZZ_CHECK(CountKind(db, velmora::RecordKind::kDatabaseInfo) == 1);
  FUZZ_CHECK(CountKind(db, velmora::RecordKind::kBitmap) == form.iconList.size());
  FUZZ_CHECK(CountKind(db, velmora::RecordKind::kStyle) ==
             CountKind(db, velmora::RecordKind::kControl));
  FUZZ_CHECK(CountKind(db, velmora::RecordKind::kHardKey) ==
             categories * velmora::HardKeyCount(form.format));
  FUZZ_CHECK(CountKind(db, velmora::RecordKind::kUnknown) == 0);
  for (const velmora::InspectedRecord& record : db.records)
    FUZZ_CHECK(record.category <= categories);
}

// The scratch folder of this process, in memory where the system offers it,
// removed when the process ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    path_ = base / ("velmora_fuzz_" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

std::string ScratchFile(const std::string& name) {
  static const ScratchFolder folder;
  return (folder.path() / name).string();
}

velmora::Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  velmora::Bytes bytes(in ? static_cast<size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(in || bytes.empty());
  return bytes;
}

void GenerateAndCheck(velmora::FormState& form) {
  if (!form.ccfImage) return;
  common::RecordedMessages messages;
  ChooseWork(form, messages);
  form.layoutEdits = {"0.01", "0.01", "0", "0"};
  std::string path = ScratchFile(velmora::kDefaultDatabaseFileName);
  velmora::FixedPathDialog dialog(path);
  if (!velmora::GoBtnClick(form, dialog, messages)) return;
  velmora::Bytes file = ReadWholeFile(path);
  CheckDatabase(file, form);
}

}  // namespace fuzz_stage
