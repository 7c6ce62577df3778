// Consolidation: the slots of several projects redistributed over the same project files
// in the order of the first significant character of their button names. The first
// chosen project receives the first 33 slots of that order, the second the next 33, and
// so on. Plain logic over an interface to the files, so it runs on any file system and
// under tests that make the files fail.
#pragma once
#include "store/project_image.h"

// The key a slot sorts under: the first byte of its name, or the second when the first
// is ASCII punctuation; a to z count as A to Z. An empty name, a punctuation character
// alone and a name opening with two punctuation characters have key 0. nameField is a
// name field of kNameSize bytes.
unsigned char ConsolidationKey(const char* nameField);

// Walks the slots of the chosen projects in consolidated order, given the key of each
// (entry * 33 + slot): keys ascending from 1 to 255 and key 0 last; within a key, entries
// in list order and slots in slot order. Every slot comes exactly once.
class ConsolidationOrder {
  public:
    ConsolidationOrder(const unsigned char* keys, long count);
    // The next slot's index into keys; false after the last.
    bool Next(long& index);

  private:
    bool AdvanceKey();

    const unsigned char* keys_;
    long count_;
    bool present_[256] = {};
    int rank_ = 0; // 1 to 255 for those keys, 256 for key 0
    long position_ = 0;
};

// The files of a consolidation, entry by entry in the order of the list. The run only
// reads the projects until every new image is safely in a temporary file.
class ConsolidationFiles {
  public:
    virtual ~ConsolidationFiles() = default;
    // The census: the 33 names of a whole project that may be written.
    virtual bool ReadNames(int entry, char (*names)[kNameSize]) = 0;
    // One slot's name (kNameSize bytes) and text (kTextSize bytes), from a project that
    // has not changed since the census.
    virtual bool ReadSlot(int entry, int slot, char* name, char* text) = 0;
    // Writes the entry's new image completely into a new temporary file beside it.
    virtual bool WriteTemporary(int entry, const ProjectImage& image) = 0;
    // Ends the reading: the projects are no longer held open.
    virtual void EndReading() = 0;
    // Whether the entry's project could be replaced now.
    virtual bool CanReplace(int entry) = 0;
    // Puts the entry's temporary file in its project's place, in one step.
    virtual bool Replace(int entry) = 0;
    // Removes every temporary file that has not been put in place.
    virtual void RemoveTemporaries() = 0;
};

enum class ConsolidationStatus {
    Done,
    NoMemoryForOutput, // the output image could not be had; nothing was touched
    NoMemoryForKeys,   // the key table could not be had; nothing was touched
    Unreadable,        // entry could not be read (in the census or later); nothing replaced
    NotWritten,        // entry's temporary file could not be written; nothing replaced
    NotReplaceable,    // entry cannot be replaced now; nothing replaced
    PartlyReplaced,    // entry is the first whose replace failed; every other project was
                       // replaced, and the failed ones keep their new slots in their
                       // temporary files
};

struct ConsolidationResult {
    ConsolidationStatus status = ConsolidationStatus::Done;
    int entry = -1;
};

// Told of every slot examined (once in the census, once when placed) and placed, and
// again after each file written or replaced.
struct ConsolidationProgress {
    void (*show)(void* context, long examined, long remaining) = nullptr;
    void* context = nullptr;
};

// Consolidates entries 0 to entries - 1. Holds one project image and one key byte per
// slot, and reads each slot of the projects once: the census reads the names, and each
// slot is read where it lies when its place comes. No project is replaced unless every
// new image has been written and flushed completely and every project can be replaced.
ConsolidationResult Consolidate(int entries, ConsolidationFiles& files,
                                const ConsolidationProgress& progress);
