#include "fuzz/generation_stage.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/output/byte_buffer.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/panel_walk.h"

namespace fuzz_stage {
namespace {

constexpr size_t kMaxUnfiled = 32;

class ScratchDialog : public velmora::SaveFileDialog {
 public:
  explicit ScratchDialog(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> Run(std::string_view) override { return path_; }

 private:
  std::string path_;
};

std::string ScratchPath() {
  static const std::string path = [] {
    auto folder = std::filesystem::temp_directory_path() /
                  ("velmora_fuzz_" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(folder);
    return (folder / "Halvestone.PDB").string();
  }();
  return path;
}

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

// Every entry points at or after the previous one and past the category
// block: no placeholder is left.
bool EveryRecordBegun(const velmora::Bytes& file) {
  if (file.size() < 78) return false;
  uint32_t count = velmora::GetU16(file, 76);
  uint64_t previous = 78 + 8 * uint64_t{count} + 276;
  if (file.size() < previous) return false;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t offset = velmora::GetU32(file, 78 + 8 * size_t{i});
    if (offset < previous || offset > file.size()) return false;
    previous = offset;
  }
  return true;
}

}  // namespace

void GenerateAndCheck(velmora::FormState& form) {
  if (!form.ccfImage) return;
  common::RecordedMessages messages;
  ChooseWork(form, messages);
  form.layoutEdits = {"0.01", "0.01", "0", "0"};
  std::string path = ScratchPath();
  ScratchDialog dialog(path);
  if (!velmora::GoBtnClick(form, dialog, messages)) return;
  std::ifstream in(path, std::ios::binary);
  velmora::Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!EveryRecordBegun(file)) {
    std::fprintf(stderr, "generation reported success with an incomplete record list\n");
    std::abort();
  }
}

}  // namespace fuzz_stage
