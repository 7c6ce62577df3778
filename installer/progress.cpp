#include "installer/progress.h"

#include "base/text.h"

namespace installer {

namespace {

const char kBars[] =
    "||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||"
    "||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||"
    "||";
static_assert(sizeof kBars - 1 == 150, "the line is cut from 150 bars");

} // namespace

int ProgressLength(int step) {
    if (step < 0)
        step = 0;
    if (step > kFileStepCount)
        step = kFileStepCount;
    return step * kProgressFullLength / kFileStepCount;
}

void ProgressText(int step, char* out, size_t size) {
    const size_t length = (size_t)ProgressLength(step);
    base::CopyText(out, length + 1 < size ? length + 1 : size, kBars);
}

} // namespace installer
