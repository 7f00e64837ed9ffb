// An editor over an in-memory disk of 1000 sectors (LastSector 999), with
// in-memory panes and recorded messages.
#pragma once

#include <gtest/gtest.h>

#include "common/messages.h"
#include "memory_disk.h"
#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/editor/editor.h"
#include "sectoredit/editor/resource.h"
#include "sectoredit/editor/text_pane.h"

namespace sectoredit::testing {

// Opens only "Logical D:", the fixture's disk; anything else fails to open.
class OneDisk : public PlatformDisks {
 public:
  explicit OneDisk(SectorDevice& disk) : disk_(disk) {}
  std::vector<std::string> List() override { return {"Logical D:"}; }
  bool Open(const std::string& entry) override { return open_ = entry == "Logical D:"; }
  bool OpenListEntry(const std::string& text) override {
    list_entries.push_back(text);
    return Open(text);
  }
  std::vector<std::string> list_entries;  // texts opened as list entries
  SectorDevice& Disk() override { return open_ ? disk_ : closed_; }
  bool OpenRefused() const override { return refuse_others && !open_; }
  bool refuse_others = false;  // other disks are refused, their box already shown

 private:
  SectorDevice& disk_;
  MemoryDisk closed_{0, 0};
  bool open_ = false;
};

class EditorFixture : public ::testing::Test {
 protected:
  EditorFixture() { editor.SetDevice(&disk); }

  void Open() {
    editor.ShowOpenedDisk();
    disk.ClearTransfers();
  }
  // Puts the HexPane caret at `p`.
  void HexCaret(uint32_t p) { hex.Select(p, p); }
  void CharCaret(uint32_t q) { chars.Select(q, q); }

  const TextPane* focus = nullptr;
  MemoryDisk disk{1000, 999};
  MemoryPane hex{&focus};
  MemoryPane chars{&focus};
  MemoryPane status;
  common::RecordedMessages messages;
  Editor editor{{hex, chars, status}, messages};
};

}  // namespace sectoredit::testing
