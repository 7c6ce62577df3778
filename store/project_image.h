// A project: 33 slots of button name and text, in one fixed-size record that is, byte for
// byte, the content of a project file. All names first, then all texts; no header.
#pragma once
#include <cstddef>

constexpr int kSlotCount = 33;
constexpr int kNameSize = 32;    // 31 characters and the terminator
constexpr int kTextSize = 10240; // 10,239 characters and the terminator

struct ProjectImage {
    char names[kSlotCount][kNameSize];
    char texts[kSlotCount][kTextSize];
};

constexpr size_t kProjectImageSize = 338976;
static_assert(sizeof(ProjectImage) == kProjectImageSize, "the file format fixes the size");

void ClearImage(ProjectImage& image);

// A file written by something else may fill a field to its width without a terminator:
// these take the text cut at the field's width and never read outside it.
// out must hold kNameSize + 1 / kTextSize + 1 bytes.
void SlotName(const ProjectImage& image, int slot, char* out, size_t outSize);
void SlotText(const ProjectImage& image, int slot, char* out, size_t outSize);

// Stores text cut to 31 / 10,239 characters, zero-filling the rest of the field, so two
// images of the same board are identical byte for byte.
void SetSlotName(ProjectImage& image, int slot, const char* name);
void SetSlotText(ProjectImage& image, int slot, const char* text);
