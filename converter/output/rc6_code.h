// RC6 mode-0 codes (Pronto form 6000) as the learned code a remote sends for
// them, so that they go through the learned-code conversion. Only the short
// form is known: 6000 0000 0000 0001 AAAA CCCC, the frequency word 0 (RC6's
// own 36 kHz), a zero word, one data word pair, then the address (device) and
// the command, 0 to 255 each.
//
// The signal, in units of 16 carrier cycles at carrier word 0x73: a leader of
// 6 units on and 2 off, the start bit 1, three mode bits 000, the trailer
// (toggle) bit 0 at double width, 8 address bits and 8 command bits, most
// significant first, bi-phase coded (a 1 is on then off, a 0 off then on),
// then silence up to 107 ms from the frame's start. The learned code sends
// the frame as its repeat part.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "converter/output/ir_code.h"

namespace velmora {

inline constexpr std::uint16_t kRc6Form = 0x6000;

// The learned-form words of the RC6 mode-0 frame of address and command:
// 0000 0073 0000 n, then n burst pairs.
std::vector<std::uint16_t> BuildRc6Code(std::uint8_t address, std::uint8_t command);

// The learned-form words for the 6000 code given by `word`; nullopt when it
// is not the short form.
std::optional<std::vector<std::uint16_t>> Rc6ToLearnedCode(const ProntoWordSource& word);

}  // namespace velmora
