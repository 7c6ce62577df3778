#include "store/project_image.h"

#include <cstring>

#include "base/text.h"

void ClearImage(ProjectImage& image) {
    memset(&image, 0, sizeof image);
}

void SlotName(const ProjectImage& image, int slot, char* out, size_t outSize) {
    base::CopyField(out, outSize, image.names[slot], kNameSize);
}

void SlotText(const ProjectImage& image, int slot, char* out, size_t outSize) {
    base::CopyField(out, outSize, image.texts[slot], kTextSize);
}

void SetSlotName(ProjectImage& image, int slot, const char* name) {
    memset(image.names[slot], 0, kNameSize);
    base::CopyText(image.names[slot], kNameSize, name);
}

void SetSlotText(ProjectImage& image, int slot, const char* text) {
    memset(image.texts[slot], 0, kTextSize);
    base::CopyText(image.texts[slot], kTextSize, text);
}
