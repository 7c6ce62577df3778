// The names of the store's own temporary files: plain text work, so that the test of
// which files a start may delete builds and runs anywhere.
#pragma once

// The start of every temporary file name the store makes (see CreateTemporaryBeside).
constexpr char kTemporaryPrefix[] = "vqp";

// Whether name is one that the safe write gives its temporary files: "vqp", one to four
// hexadecimal digits and ".tmp", in any case (for example "vqp1A2B.tmp").
bool IsOwnTemporaryName(const char* name);
