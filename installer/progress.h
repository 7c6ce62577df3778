// The install dialog's progress line: a run of '|' that grows with each file step.
#pragma once
#include <cstddef>

namespace installer {

constexpr int kFileStepCount = 6;
constexpr int kProgressFullLength = 136;

// Characters of the line for file step 1 to 6: 22, 45, 68, 90, 113, 136.
int ProgressLength(int step);
void ProgressText(int step, char* out, size_t size);

} // namespace installer
