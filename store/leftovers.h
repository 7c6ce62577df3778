// Temporary files that a save left behind when the program was ended in the middle of it.
// Only names that the store's own safe write makes are ever touched.
#pragma once

// Whether name is one that the safe write gives its temporary files: "vqp", one to four
// hexadecimal digits and ".tmp", in any case (for example "vqp1A2B.tmp").
bool IsOwnTemporaryName(const char* name);

// Deletes such files in folder. A file that a running save still holds cannot be deleted
// and stays. Returns how many were deleted.
int RemoveLeftoverTemporaries(const char* folder);
