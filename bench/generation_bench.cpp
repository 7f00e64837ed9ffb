// Generation on a stress database: 15 categories of 255 items (frames and
// buttons with distinct 8-bit 240 x 219 bitmaps and pressed bitmaps, learned
// IR codes of about 1000 bits) and 100 unfiled buttons. Prints the time of
// loading plus generating, the I/O floor measured in the same run (reading the
// input, writing a file of the output's size) and the peak resident size
// against input + output + 16 MiB. Not a test: the figures are for people.
//
//   generation_bench [FOLDER]   (default: the system's temporary folder)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/stress_file.h"
#include "common/messages.h"
#include "converter/output/panel_walk.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCategories = 15;

// 15 frames + 240 buttons per panel, 240 x 219 bitmaps, 100 unfiled buttons.
stress::StressShape BenchShape() {
  return {.panels = kCategories,
          .framesPerPanel = 15,
          .buttonsPerFrame = 16,
          .bitmapWidth = 240,
          .bitmapHeight = 219,
          .extraButtons = 100};
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The same bytes moved without any conversion: read the input, write a file
// of the output's size.
double IoFloor(const std::string& input, uint64_t outputSize, const std::string& scratch) {
  auto start = std::chrono::steady_clock::now();
  std::FILE* in = std::fopen(input.c_str(), "rb");
  std::vector<uint8_t> bytes(fs::file_size(input));
  size_t got = in ? std::fread(bytes.data(), 1, bytes.size(), in) : 0;
  if (in) std::fclose(in);
  std::FILE* out = std::fopen(scratch.c_str(), "wb");
  std::vector<uint8_t> chunk(1 << 16, 0x5A);
  for (uint64_t left = outputSize; out && left > 0;) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(left, chunk.size()));
    std::fwrite(chunk.data(), 1, n, out);
    left -= n;
  }
  if (out) std::fclose(out);
  double seconds = Seconds(start);
  if (got != bytes.size()) std::fprintf(stderr, "short read of %s\n", input.c_str());
  fs::remove(scratch);
  return seconds;
}

// The record count of the database header.
unsigned RecordCount(const std::string& path) {
  uint8_t count[2] = {0, 0};
  if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
    if (std::fseek(in, 76, SEEK_SET) != 0 || std::fread(count, 1, 2, in) != 2)
      count[0] = count[1] = 0;
    std::fclose(in);
  }
  return unsigned{count[0]} << 8 | count[1];
}

// The builder holds the whole file; build it in a child so that its memory
// does not count in this process's peak.
bool BuildInChild(const std::string& path) {
  pid_t child = fork();
  if (child == 0) {
    _exit(stress::WriteStressFile(BenchShape(), path) ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::exists(path);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "velmora_bench";
  fs::create_directories(folder);
  std::string input = (folder / "stress.ccf").string();
  std::string output = (folder / "Stress.PDB").string();
  if (!BuildInChild(input)) {
    std::fprintf(stderr, "could not build %s\n", input.c_str());
    return 1;
  }

  common::StreamMessages messages(std::cerr, false);
  velmora::FormState form;
  auto start = std::chrono::steady_clock::now();
  if (!velmora::LoadCcfFile(form, input, messages)) return 1;
  double load = Seconds(start);
  for (size_t i = 0; i < kCategories + 2; ++i) form.panelList.Select(i);
  velmora::AddPanelBtnClick(form, messages);  // the 15 category panels, not "Extras"
  velmora::CcfReader reader(*form.ccfImage, messages);
  uint32_t extras = velmora::HexToOffset(form.panelList[form.panelList.size() - 2]);
  for (std::string& entry : velmora::ListPanelButtons(reader, extras, form.format)) {
    form.unfiledList.Add(std::move(entry));
  }
  velmora::FixedPathDialog dialog(output);
  bool written = velmora::GoBtnClick(form, dialog, messages);
  double generation = Seconds(start);
  if (!written) return 1;

  uint64_t inputSize = fs::file_size(input);
  uint64_t outputSize = fs::file_size(output);
  unsigned records = RecordCount(output);
  form = velmora::FormState();  // the floor runs without the loaded file
  std::string scratch = (folder / "floor.bin").string();
  double floor = std::min(IoFloor(input, outputSize, scratch), IoFloor(input, outputSize, scratch));

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  double peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  double mib = 1024.0 * 1024.0;
  double budgetMiB = 2.0 * (static_cast<double>(inputSize + outputSize) / mib + 16.0);
  std::printf("input %.1f MiB, output %.1f MiB, %u records\n", inputSize / mib, outputSize / mib,
              records);
  std::printf("generation %.2f s, load %.2f s, I/O floor %.2f s\n", generation - load, load, floor);
  std::printf("load + generation against the floor: %.2fx (target <= 3x)\n", generation / floor);
  std::printf("peak resident %.1f MiB, budget 2 x (input + output + 16 MiB) = %.1f MiB: %s\n",
              peakMiB, budgetMiB, peakMiB <= budgetMiB ? "within" : "OVER");
  fs::remove(input);
  fs::remove(output);
  return 0;
}
