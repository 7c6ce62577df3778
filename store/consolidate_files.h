// The files of a consolidation on the disk: each chosen project is read where it lies,
// and its new content goes into a temporary file beside it until all are written.
#pragma once
#include <windows.h>

#include <cstddef>

#include "store/consolidate.h"
#include "store/file_stamp.h"

class ProjectList;

class DiskConsolidationFiles : public ConsolidationFiles {
  public:
    // Entry i is the project folder + "\" + names.Name(i); names must outlive this.
    DiskConsolidationFiles(const char* folder, const ProjectList& names);
    ~DiskConsolidationFiles() override;
    DiskConsolidationFiles(const DiskConsolidationFiles&) = delete;
    DiskConsolidationFiles& operator=(const DiskConsolidationFiles&) = delete;

    // False when the bookkeeping for the entries could not be had.
    bool Ready() const { return entries_ != nullptr; }
    // The entry's project path and temporary file ("" before it is made); false when
    // the path does not fit.
    bool Path(int entry, char* out, size_t size) const;
    bool TemporaryPath(int entry, char* out, size_t size) const;

    bool ReadNames(int entry, char (*names)[kNameSize]) override;
    bool ReadSlot(int entry, int slot, char* name, char* text) override;
    bool WriteTemporary(int entry, const ProjectImage& image) override;
    void EndReading() override;
    bool CanReplace(int entry) override;
    bool Replace(int entry) override;
    void RemoveTemporaries() override;

  private:
    struct Entry {
        HANDLE source;      // open while the redistribution reads this project
        FileStamp stamp;    // as the census found the project
        char temporary[16]; // its file name beside the project ("vqp1A2B.tmp"); ""
                            // when none was made or it is in place
    };

    const char* folder_;
    const ProjectList& names_;
    int count_;
    Entry* entries_;
};
