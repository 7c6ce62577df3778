#include "store/consolidate_files.h"

#include <cstdlib>
#include <cstring>

#include "base/scoped.h"
#include "base/text.h"
#include "store/disk_file.h"
#include "store/file_stamp.h"
#include "store/project_list.h"
#include "store/project_names.h"

namespace {

constexpr DWORD kNamesSize = kSlotCount * kNameSize;

} // namespace

DiskConsolidationFiles::DiskConsolidationFiles(const char* folder, const ProjectList& names)
    : folder_(folder), names_(names), count_(names.Count()),
      entries_(static_cast<Entry*>(
          std::malloc(sizeof(Entry) * size_t(names.Count() > 0 ? names.Count() : 1)))) {
    if (!entries_)
        return;
    for (int i = 0; i < count_; ++i) {
        entries_[i].source = INVALID_HANDLE_VALUE;
        entries_[i].stamp = FileStamp();
        entries_[i].temporary[0] = '\0';
    }
}

DiskConsolidationFiles::~DiskConsolidationFiles() {
    if (entries_)
        EndReading();
    std::free(entries_);
}

bool DiskConsolidationFiles::Path(int entry, char* out, size_t size) const {
    out[0] = '\0';
    const char* name = names_.Name(entry);
    const size_t length = strlen(folder_) + 1 + strlen(name);
    if (name[0] == '\0' || length >= MAX_PATH || length + 1 > size)
        return false;
    base::FormatText(out, size, "%s\\%s", folder_, name);
    return true;
}

bool DiskConsolidationFiles::TemporaryPath(int entry, char* out, size_t size) const {
    out[0] = '\0';
    const char* name = entries_[entry].temporary;
    const size_t length = strlen(folder_) + 1 + strlen(name);
    if (name[0] == '\0' || length >= MAX_PATH || length + 1 > size)
        return false;
    base::FormatText(out, size, "%s\\%s", folder_, name);
    return true;
}

bool DiskConsolidationFiles::ReadNames(int entry, char (*names)[kNameSize]) {
    char path[MAX_PATH];
    if (!Path(entry, path, sizeof path))
        return false;
    // As for loading a project: a project that may not be written is not taken, the
    // more so as it could not be replaced at the end.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    base::ScopedFile file(
        OpenDiskFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
    Entry& source = entries_[entry];
    return file.Valid() && StampOpenFile(file.Get(), source.stamp) &&
           source.stamp.size >= kProjectImageSize && ReadAt(file.Get(), 0, names, kNamesSize);
}

bool DiskConsolidationFiles::ReadSlot(int entry, int slot, char* name, char* text) {
    Entry& source = entries_[entry];
    if (source.source == INVALID_HANDLE_VALUE) {
        char path[MAX_PATH];
        if (!Path(entry, path, sizeof path))
            return false;
        // Others may read along, but no one may change the project while it is a source.
        base::ScopedFile file(OpenDiskFile(path, GENERIC_READ, FILE_SHARE_READ));
        // The size and the time alone tell a change: the full file information costs a
        // millisecond a file under Wine.
        FileStamp now;
        if (!file.Valid() || !StampOpenFile(file.Get(), now) || now != source.stamp)
            return false;
        source.source = file.Release();
    }
    const ULONGLONG nameAt = ULONGLONG(slot) * kNameSize;
    const ULONGLONG textAt = kNamesSize + ULONGLONG(slot) * kTextSize;
    return ReadAt(source.source, nameAt, name, kNameSize) &&
           ReadAt(source.source, textAt, text, kTextSize);
}

bool DiskConsolidationFiles::WriteTemporary(int entry, const ProjectImage& image) {
    char path[MAX_PATH];
    char temporary[MAX_PATH];
    if (!Path(entry, path, sizeof path) ||
        !CreateTemporaryBeside(path, temporary, sizeof temporary))
        return false;
    // Only the name is kept: the file lies in the project's folder.
    Entry& target = entries_[entry];
    if (base::CopyText(target.temporary, sizeof target.temporary, FileNamePart(temporary)) !=
        strlen(FileNamePart(temporary))) {
        DeleteFileA(temporary);
        target.temporary[0] = '\0';
        return false;
    }
    return FillTemporary(temporary, &image, sizeof image);
}

void DiskConsolidationFiles::EndReading() {
    for (int i = 0; i < count_; ++i)
        if (entries_[i].source != INVALID_HANDLE_VALUE) {
            CloseHandle(entries_[i].source);
            entries_[i].source = INVALID_HANDLE_VALUE;
        }
}

bool DiskConsolidationFiles::CanReplace(int entry) {
    char path[MAX_PATH];
    return entries_[entry].temporary[0] != '\0' && Path(entry, path, sizeof path) &&
           CanReplaceFile(path);
}

bool DiskConsolidationFiles::Replace(int entry) {
    char path[MAX_PATH];
    char temporary[MAX_PATH];
    if (!Path(entry, path, sizeof path) || !TemporaryPath(entry, temporary, sizeof temporary) ||
        !ReplaceWithTemporary(temporary, path))
        return false;
    entries_[entry].temporary[0] = '\0';
    return true;
}

void DiskConsolidationFiles::RemoveTemporaries() {
    char temporary[MAX_PATH];
    for (int i = 0; i < count_; ++i) {
        if (TemporaryPath(i, temporary, sizeof temporary))
            DeleteFileA(temporary);
        entries_[i].temporary[0] = '\0';
    }
}
