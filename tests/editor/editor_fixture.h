// An editor over an in-memory disk of 1000 sectors (LastSector 999), with
// in-memory panes and recorded messages.
#pragma once

#include <gtest/gtest.h>

#include "common/messages.h"
#include "memory_disk.h"
#include "sectoredit/editor/editor.h"
#include "sectoredit/editor/resource.h"
#include "sectoredit/editor/text_pane.h"

namespace sectoredit::testing {

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
