// Numbers as the settings store keeps them: text. Plain functions, no registry, so the
// conversions can be tested on their own.
#pragma once

namespace settings {

// The board's reading: leading blanks skipped, an optional sign, then the leading decimal
// digits; anything else ends the number, so a word reads as 0. Beyond the range of int
// the nearest end of it.
int NumberFromText(const char* text);

// The installer's reading: unsigned, with automatic base ("0x1A" is 26, "010" is 8). A
// minus sign gives the number's two's complement, so a handle the board wrote as a
// negative decimal reads back as the same bits; beyond the range, the largest value.
unsigned long UnsignedFromText(const char* text);

} // namespace settings
