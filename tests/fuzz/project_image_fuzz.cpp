// Project image fields on arbitrary images: a file written by something else may fill any
// field to its width without a terminator, or hold anything after it.
// Checked: SlotName and SlotText give the field's text up to its first NUL or its width,
// cut to the caller's buffer and terminated, and never touch a byte outside the field or
// the buffer (the bytes around are guarded); SetSlotName and SetSlotText write exactly
// their field, the text cut to 31 / 10,239 characters and the rest zero, and read back
// as set.
// Input: two slots, two buffer sizes, two text lengths, then the bytes that, repeated, fill
// the whole image.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "store/project_image.h"

namespace {

ProjectImage& Image() {
    static ProjectImage* image = new ProjectImage; // on the heap: guarded at both ends
    return *image;
}

ProjectImage& Before() {
    static ProjectImage* image = new ProjectImage;
    return *image;
}

void FillTiled(ProjectImage& image, const std::string& pattern) {
    char* bytes = reinterpret_cast<char*>(&image);
    if (pattern.empty()) {
        memset(bytes, 0, sizeof image);
        return;
    }
    size_t filled = pattern.size() < sizeof image ? pattern.size() : sizeof image;
    memcpy(bytes, pattern.data(), filled);
    while (filled < sizeof image) {
        const size_t more = filled < sizeof image - filled ? filled : sizeof image - filled;
        memcpy(bytes + filled, bytes, more);
        filled += more;
    }
}

// What a field holds as text: up to its first NUL or its width.
std::string FieldText(const char* field, size_t width) {
    const void* nul = memchr(field, '\0', width);
    return std::string(field, nul ? size_t(static_cast<const char*>(nul) - field) : width);
}

using Reader = void (*)(const ProjectImage&, int, char*, size_t);

// Reads one field through reader into a buffer of exactly outSize bytes, with only that
// field of the image readable.
void CheckRead(Reader reader, const char* what, int slot, const char* field, size_t width,
               size_t outSize) {
    const ProjectImage& image = Image();
    const std::string expected = FieldText(field, width).substr(0, outSize - 1);
    std::unique_ptr<char[]> out(new char[outSize]);
    memset(out.get(), 0x7F, outSize);
    {
        OnlyRegion guard(&image, &image + 1, field, field + width);
        reader(image, slot, out.get(), outSize);
    }
    const void* nul = memchr(out.get(), '\0', outSize);
    FUZZ_CHECK(nul, "%s of slot %d into %zu bytes is not terminated", what, slot, outSize);
    FUZZ_CHECK(out.get() == expected, "%s of slot %d into %zu bytes: expected %s, got %s", what,
               slot, outSize, Shown(expected).c_str(), Shown(out.get()).c_str());
}

using Writer = void (*)(ProjectImage&, int, const char*);

void CheckWrite(Writer writer, Reader reader, const char* what, int slot, char* field, size_t width,
                const std::string& source) {
    ProjectImage& image = Image();
    memcpy(&Before(), &image, sizeof image);
    {
        OnlyRegion guard(&image, &image + 1, field, field + width);
        writer(image, slot, source.c_str());
    }
    const std::string kept = UpToNul(source).substr(0, width - 1);
    std::string expected = kept + std::string(width - kept.size(), '\0');
    FUZZ_CHECK(memcmp(field, expected.data(), width) == 0,
               "%s of slot %d: the field is not the text cut to %zu and zero-filled", what, slot,
               width - 1);
    const char* bytes = reinterpret_cast<const char*>(&image);
    const char* before = reinterpret_cast<const char*>(&Before());
    const size_t offset = size_t(field - bytes);
    FUZZ_CHECK(memcmp(bytes, before, offset) == 0 &&
                   memcmp(bytes + offset + width, before + offset + width,
                          sizeof image - offset - width) == 0,
               "%s of slot %d changed bytes outside its field", what, slot);
    CheckRead(reader, what, slot, field, width, width + 1);
    std::unique_ptr<char[]> back(new char[width + 1]);
    reader(image, slot, back.get(), width + 1);
    FUZZ_CHECK(back.get() == kept, "%s of slot %d reads back %s, not %s", what, slot,
               Shown(back.get()).c_str(), Shown(kept).c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int slot = in.Byte() % kSlotCount;
    const int otherSlot = in.Byte() % kSlotCount;
    const size_t nameOut = 1 + in.Byte() % (kNameSize + 16); // also larger than needed
    const size_t textOut = 1 + in.Half() % (kTextSize + 300);
    const size_t nameLength = in.Byte() % (kNameSize + 16);
    const size_t textLength = in.Half() % (kTextSize + 300);
    const std::string pattern = in.Rest();

    ProjectImage& image = Image();
    FillTiled(image, pattern);

    // Fields as the program reads them, into the buffers it uses: every name, and the
    // texts of three slots (reading all 33 texts would slow the run thirtyfold).
    for (int s = 0; s < kSlotCount; ++s)
        CheckRead(SlotName, "SlotName", s, image.names[s], kNameSize, kNameSize + 1);
    for (int s : {slot, otherSlot, kSlotCount - 1 - slot})
        CheckRead(SlotText, "SlotText", s, image.texts[s], kTextSize, kTextSize + 1);
    // And into smaller and larger ones.
    CheckRead(SlotName, "SlotName", slot, image.names[slot], kNameSize, nameOut);
    CheckRead(SlotText, "SlotText", slot, image.texts[slot], kTextSize, textOut);

    // Texts longer than the field, with or without NULs inside.
    CheckWrite(SetSlotName, SlotName, "SetSlotName", slot, image.names[slot], kNameSize,
               Tiled(pattern, nameLength));
    CheckWrite(SetSlotText, SlotText, "SetSlotText", slot, image.texts[slot], kTextSize,
               Tiled(pattern, textLength));

    if (pattern.size() % 7 == 0) {
        ClearImage(image);
        const char* bytes = reinterpret_cast<const char*>(&image);
        FUZZ_CHECK(bytes[0] == 0 && memcmp(bytes, bytes + 1, sizeof image - 1) == 0,
                   "ClearImage left a byte that is not 0");
    }
    return 0;
}
