// Speed of Find All Projects and of Consolidate Projects with the program's own engines
// (store/find.cpp, store/consolidate.cpp) on data made here from fixed seeds. Built
// twice by bench/run.sh: natively, over this system's files, and for Windows, where the
// program's own file code (store/disk_file.cpp, store/consolidate_files.cpp) does the
// reading and writing under Wine. Each figure is the median of repeated runs and is given
// as a ratio to a baseline measured in the same run:
//   - a search for a word that occurs nowhere against reading the same files once;
//   - a consolidation against the method that reads every chosen file again for each
//     key, implemented here only, with both results compared byte for byte.
// Usage: bench DATA_FOLDER
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store/consolidate.h"
#include "store/find.h"
#include "store/project_list.h"
#ifdef _WIN32
#include "base/scoped.h"
#include "dialogs/consolidation_counts.h"
#include "store/consolidate_files.h"
#include "store/disk_file.h"
#endif

namespace fs = std::filesystem;

namespace {

// ---- files -------------------------------------------------------------------------

#ifdef _WIN32

const char kSeparator[] = "\\";

// The program's own read for a search: a plain disk file, read access, one whole image.
bool ReadImage(const char* path, ProjectImage& image) {
    return ReadImageForSearch(path, image);
}

bool WriteWhole(const std::string& path, const void* data, size_t size, bool flush) {
    base::ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    bool ok = file.Valid() && WriteAll(file.Get(), data, DWORD(size)) &&
              (!flush || FlushFileBuffers(file.Get()));
    return file.Close() && ok;
}

// What the first method did once every temporary file was written.
bool DeleteAndRename(const std::string& from, const std::string& to) {
    return DeleteFileA(to.c_str()) && MoveFileA(from.c_str(), to.c_str());
}

// The program's own files of a consolidation; they always flush their temporary files.
struct HeldFolder {
    std::string folder; // made before the files that point into it
};
class EngineFiles : private HeldFolder, public DiskConsolidationFiles {
  public:
    EngineFiles(const std::string& folder, const ProjectList& names, bool)
        : HeldFolder{folder}, DiskConsolidationFiles(HeldFolder::folder.c_str(), names) {}
};
constexpr bool kCanSkipFlush = false;

#else

const char kSeparator[] = "/";

bool ReadWhole(const char* path, void* data, size_t size) {
    int fd = open(path, O_RDONLY);
    if (fd < 0)
        return false;
    size_t got = 0;
    while (got < size) {
        ssize_t n = read(fd, static_cast<char*>(data) + got, size - got);
        if (n <= 0)
            break;
        got += size_t(n);
    }
    close(fd);
    return got == size;
}

// The engines join folder and name with "\"; here the folder is this system's own.
bool ReadImage(const char* path, ProjectImage& image) {
    std::string own(path);
    std::replace(own.begin(), own.end(), '\\', '/');
    return ReadWhole(own.c_str(), &image, sizeof image);
}

bool WriteWhole(const std::string& path, const void* data, size_t size, bool flush) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, static_cast<const char*>(data) + done, size - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    bool ok = done == size && (!flush || fsync(fd) == 0);
    return close(fd) == 0 && ok;
}

bool DeleteAndRename(const std::string& from, const std::string& to) {
    return unlink(to.c_str()) == 0 && rename(from.c_str(), to.c_str()) == 0;
}

// The same steps as the program's files on Windows: the census reads the names, each
// slot is read where it lies from a project unchanged since, temporary files are written
// (and flushed) beside the projects and put in their place by renaming.
class EngineFiles : public ConsolidationFiles {
  public:
    EngineFiles(const std::string& folder, const ProjectList& names, bool flush)
        : folder_(folder), names_(names), flush_(flush), sources_(size_t(names.Count()), -1),
          stamps_(size_t(names.Count())), temporaries_(size_t(names.Count())) {}
    ~EngineFiles() override { EndReading(); }

    bool ReadNames(int entry, char (*names)[kNameSize]) override {
        int fd = open(Path(entry).c_str(), O_RDWR);
        struct stat info;
        bool ok = fd >= 0 && fstat(fd, &info) == 0 && size_t(info.st_size) >= kProjectImageSize &&
                  pread(fd, names, kSlotCount * kNameSize, 0) == kSlotCount * kNameSize;
        if (ok)
            stamps_[size_t(entry)] = Stamp(info);
        if (fd >= 0)
            close(fd);
        return ok;
    }
    bool ReadSlot(int entry, int slot, char* name, char* text) override {
        int& fd = sources_[size_t(entry)];
        if (fd < 0) {
            fd = open(Path(entry).c_str(), O_RDONLY);
            struct stat info;
            if (fd < 0 || fstat(fd, &info) != 0 || Stamp(info) != stamps_[size_t(entry)])
                return false;
        }
        return pread(fd, name, kNameSize, off_t(slot) * kNameSize) == kNameSize &&
               pread(fd, text, kTextSize, off_t(kSlotCount * kNameSize + slot * kTextSize)) ==
                   kTextSize;
    }
    bool WriteTemporary(int entry, const ProjectImage& image) override {
        std::string temporary = folder_ + "/vqpXXXXXX";
        int fd = mkstemp(&temporary[0]);
        if (fd < 0)
            return false;
        close(fd);
        temporaries_[size_t(entry)] = temporary;
        return WriteWhole(temporary, &image, sizeof image, flush_);
    }
    void EndReading() override {
        for (int& fd : sources_)
            if (fd >= 0) {
                close(fd);
                fd = -1;
            }
    }
    bool CanReplace(int entry) override { return access(Path(entry).c_str(), W_OK) == 0; }
    bool Replace(int entry) override {
        std::string& temporary = temporaries_[size_t(entry)];
        if (rename(temporary.c_str(), Path(entry).c_str()) != 0)
            return false;
        temporary.clear();
        return true;
    }
    void RemoveTemporaries() override {
        for (auto& temporary : temporaries_)
            if (!temporary.empty()) {
                unlink(temporary.c_str());
                temporary.clear();
            }
    }

  private:
    static std::string Stamp(const struct stat& info) {
        return std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) + "." +
               std::to_string(info.st_mtim.tv_nsec);
    }
    std::string Path(int entry) const { return folder_ + "/" + names_.Name(entry); }

    std::string folder_;
    const ProjectList& names_;
    bool flush_;
    std::vector<int> sources_;
    std::vector<std::string> stamps_, temporaries_;
};
constexpr bool kCanSkipFlush = true;

#endif

std::string Join(const std::string& folder, const std::string& name) {
    return folder + kSeparator + name;
}

std::string ReadBytes(const std::string& path) {
    std::unique_ptr<ProjectImage> image(new ProjectImage);
    if (!ReadImage(path.c_str(), *image))
        return "";
    return std::string(reinterpret_cast<const char*>(image.get()), sizeof *image);
}

// ---- data --------------------------------------------------------------------------

// Texts of words over a-w (no x), so "Xylophone" occurs nowhere; names open with one of
// 36 characters (A-Z, 0-9, letters in either case).
void FillProject(ProjectImage& image, std::mt19937& random) {
    ClearImage(image);
    const char openings[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int slot = 0; slot < kSlotCount; ++slot) {
        char* name = image.names[slot];
        name[0] = openings[random() % 36];
        if (random() % 2 && name[0] >= 'A')
            name[0] = char(name[0] - 'A' + 'a');
        for (int i = 1; i < kNameSize - 1; ++i)
            name[i] = char('a' + random() % 23);
        char* text = image.texts[slot];
        for (int i = 0; i < kTextSize - 1; ++i) {
            const unsigned r = random() % 64;
            text[i] = r < 9 ? ' ' : r == 9 ? '\r' : r == 10 ? '\n' : char('a' + r % 23);
        }
    }
}

void MakeProjects(const std::string& folder, int count, unsigned seed, ProjectList& names) {
    fs::create_directories(folder);
    std::mt19937 random(seed);
    std::unique_ptr<ProjectImage> image(new ProjectImage);
    for (int i = 0; i < count; ++i) {
        char name[32];
        snprintf(name, sizeof name, "Project %04d.vqp", i);
        FillProject(*image, random);
        if (!WriteWhole(Join(folder, name), image.get(), sizeof *image, false)) {
            fprintf(stderr, "cannot write %s\n", Join(folder, name).c_str());
            exit(1);
        }
        names.Add(name);
    }
}

// ---- timing ------------------------------------------------------------------------

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Fail(const char* what) {
    fprintf(stderr, "%s\n", what);
    exit(1);
}

// ---- Find All Projects ---------------------------------------------------------------

void MeasureFind(const std::string& folder, int count, int runs) {
    ProjectList names;
    MakeProjects(folder, count, 1000u + unsigned(count), names);
    std::unique_ptr<ProjectImage> work(new ProjectImage), board(new ProjectImage);
    ClearImage(*board);

    auto readOnce = [&] {
        for (int i = 0; i < names.Count(); ++i)
            if (!ReadImage((folder + "\\" + names.Name(i)).c_str(), *work))
                Fail("a project could not be read");
    };
    auto search = [&] {
        FindState state;
        strcpy(state.text, "Xylophone");
        FindSources sources;
        sources.programFolder = folder.c_str();
        sources.boardImage = board.get();
        sources.projects = &names;
        sources.work = work.get();
        sources.readImage = ReadImage;
        FindHit hit;
        if (FindStep(state, false, sources, hit))
            Fail("the word was found: the data are wrong");
    };
    readOnce(); // warm cache against warm cache
    search();
    std::vector<double> reads, searches;
    for (int run = 0; run < runs; ++run) {
        reads.push_back(Seconds(readOnce));
        searches.push_back(Seconds(search));
    }
    const double read = Median(reads), found = Median(searches);
    printf(
        "Find All Projects, %4d full projects, a word found nowhere: %7.1f ms "
        "(%5.1f us a project); reading the files once: %7.1f ms; ratio %.2f\n",
        count, found * 1e3, found * 1e6 / count, read * 1e3, found / read);
    fs::remove_all(folder);
}

// ---- Consolidate Projects --------------------------------------------------------------

// Where the first method puts each new image: by default a "Work.tmp" written beside
// "Work.vqp", and at the end each project deleted and its temporary file renamed.
using Output = std::function<bool(int entry, const ProjectImage& image)>;

// Where the first method shows its two counts: at every slot examined, and before every
// slot placed.
struct PartCounts {
    std::function<void(long examined)> examined;
    std::function<void(long remaining)> remaining;
};

// The first method, kept here as the baseline only: a census that flags the keys, then
// for every key each chosen project is read again whole.
bool RereadConsolidate(const std::string& folder, const ProjectList& names, bool flush,
                       const Output& keep = nullptr, const PartCounts* counts = nullptr) {
    const int n = names.Count();
    std::unique_ptr<ProjectImage> output(new ProjectImage), source(new ProjectImage);
    auto path = [&](int e) { return Join(folder, names.Name(e)); };
    auto temporary = [&](int e) {
        std::string p = path(e);
        return p.substr(0, p.size() - 3) + "tmp";
    };
    long examined = 0, remaining = long(n) * kSlotCount;
    auto examine = [&] {
        ++examined;
        if (counts)
            counts->examined(examined);
    };
    if (counts) {
        counts->examined(0);
        counts->remaining(remaining);
    }
    bool flagged[256] = {};
    for (int e = 0; e < n; ++e) {
        if (!ReadImage(path(e).c_str(), *source))
            return false;
        for (int s = 0; s < kSlotCount; ++s) {
            flagged[ConsolidationKey(source->names[s])] = true;
            examine();
        }
    }
    for (int c = 33; c < 127; ++c)
        if (!isalnum(c))
            flagged[c] = false;
    int key = 0, entry = n - 1, slot = kSlotCount;
    for (int e = 0; e < n; ++e) {
        ClearImage(*output);
        for (int s = 0; s < kSlotCount; ++s) {
            if (counts)
                counts->remaining(remaining);
            --remaining;
            for (;;) {
                examine();
                if (slot >= kSlotCount) {
                    slot = 0;
                    if (++entry >= n) {
                        do
                            key = (key + 1) & 0xFF;
                        while (!flagged[key]);
                        entry = 0;
                    }
                    if (!ReadImage(path(entry).c_str(), *source))
                        return false;
                }
                const int at = slot++;
                if (ConsolidationKey(source->names[at]) == key) {
                    memcpy(output->names[s], source->names[at], kNameSize);
                    memcpy(output->texts[s], source->texts[at], kTextSize);
                    break;
                }
            }
        }
        if (keep ? !keep(e, *output)
                 : !WriteWhole(temporary(e), output.get(), sizeof *output, flush))
            return false;
    }
    if (keep)
        return true;
    for (int e = 0; e < n; ++e)
        if (!DeleteAndRename(temporary(e), path(e)))
            return false;
    return true;
}

void CopyFolder(const std::string& from, const std::string& to) {
    fs::remove_all(to);
    fs::copy(from, to);
}

// Whichever method runs second finds the file system busier with the copies made for
// both, so they take turns at going first.
void InTurns(int run, const std::function<void()>& ours, const std::function<void()>& theirs) {
    if (run % 2) {
        theirs();
        ours();
    } else {
        ours();
        theirs();
    }
}

void CompareResults(const std::string& mine, const std::string& theirs, const ProjectList& names) {
    for (int e = 0; e < names.Count(); ++e) {
        const std::string a = ReadBytes(Join(mine, names.Name(e)));
        if (a.empty() || a != ReadBytes(Join(theirs, names.Name(e))))
            Fail("a project differs between the two methods");
    }
    if (std::distance(fs::directory_iterator(mine), fs::directory_iterator()) != names.Count())
        Fail("temporary files were left");
}

int DistinctKeys(const std::string& folder, const ProjectList& names) {
    bool keys[256] = {};
    int distinct = 0;
    std::unique_ptr<ProjectImage> image(new ProjectImage);
    for (int e = 0; e < names.Count(); ++e) {
        ReadImage(Join(folder, names.Name(e)).c_str(), *image);
        for (int s = 0; s < kSlotCount; ++s) {
            const unsigned char key = ConsolidationKey(image->names[s]);
            distinct += keys[key] ? 0 : 1;
            keys[key] = true;
        }
    }
    return distinct;
}

void MeasureConsolidation(const std::string& base, int count, int runs, bool flush) {
    const std::string pristine = Join(base, "pristine"), mine = Join(base, "engine"),
                      theirs = Join(base, "reread");
    ProjectList names;
    MakeProjects(pristine, count, 50u, names);
    const int distinct = DistinctKeys(pristine, names);
    std::vector<double> engine, reread;
    for (int run = 0; run < runs; ++run) {
        CopyFolder(pristine, mine);
        CopyFolder(pristine, theirs);
        auto runOurs = [&] {
            engine.push_back(Seconds([&] {
                EngineFiles files(mine, names, flush);
                if (Consolidate(count, files, ConsolidationProgress()).status !=
                    ConsolidationStatus::Done)
                    Fail("the consolidation failed");
            }));
        };
        auto runTheirs = [&] {
            reread.push_back(Seconds([&] {
                if (!RereadConsolidate(theirs, names, flush))
                    Fail("the rereading method failed");
            }));
        };
        InTurns(run, runOurs, runTheirs);
        CompareResults(mine, theirs, names);
    }
    const double ours = Median(engine), baseline = Median(reread);
    printf(
        "Consolidate Projects, %d full projects, %d distinct keys, temporary files %s: "
        "%6.1f ms; rereading every file for each key: %6.1f ms; %.1f times as fast; "
        "the same files byte for byte\n",
        count, distinct, flush ? "flushed" : "not flushed", ours * 1e3, baseline * 1e3,
        baseline / ours);
    fs::remove_all(base);
}

// New images kept in memory, in blocks made once so that no run pays for fresh memory.
struct Kept {
    explicit Kept(int count) : images(size_t(count), std::string(kProjectImageSize, '\1')) {}
    bool Keep(int entry, const ProjectImage& image) {
        memcpy(&images[size_t(entry)][0], &image, sizeof image);
        return true;
    }
    std::vector<std::string> images;
};

// The engine with its new images kept in memory: the redistribution's reading alone.
class KeptInMemory : public EngineFiles {
  public:
    KeptInMemory(const std::string& folder, const ProjectList& names, Kept& kept)
        : EngineFiles(folder, names, false), kept_(kept) {}
    bool WriteTemporary(int entry, const ProjectImage& image) override {
        return kept_.Keep(entry, image);
    }
    bool CanReplace(int) override { return true; }
    bool Replace(int) override { return true; }

  private:
    Kept& kept_;
};

void MeasureReading(const std::string& base, int count, int runs) {
    const std::string pristine = Join(base, "pristine");
    ProjectList names;
    MakeProjects(pristine, count, 50u, names);
    std::vector<double> engine, reread;
    Kept ours(count), theirs(count);
    for (int run = 0; run < runs; ++run) {
        engine.push_back(Seconds([&] {
            KeptInMemory files(pristine, names, ours);
            if (Consolidate(count, files, ConsolidationProgress()).status !=
                ConsolidationStatus::Done)
                Fail("the consolidation failed");
        }));
        reread.push_back(Seconds([&] {
            auto keep = [&](int e, const ProjectImage& image) { return theirs.Keep(e, image); };
            if (!RereadConsolidate(pristine, names, false, keep))
                Fail("the rereading method failed");
        }));
        if (ours.images != theirs.images)
            Fail("the new images differ between the two methods");
    }
    const double mine = Median(engine), baseline = Median(reread);
    printf(
        "  the reading alone (new images kept in memory, nothing written): %6.1f ms; "
        "rereading: %6.1f ms; %.1f times as fast; the same images\n",
        mine * 1e3, baseline * 1e3, baseline / mine);
    fs::remove_all(base);
}

#ifdef _WIN32

// ---- as the user sees it -------------------------------------------------------------

// A window with the dialog's two counts, on the screen while the runs go.
struct CountsWindow {
    CountsWindow() {
        frame = CreateWindowA("STATIC", "Consolidate Projects", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              100, 100, 320, 120, nullptr, nullptr, nullptr, nullptr);
        examined = CreateWindowA("STATIC", "0", WS_CHILD | WS_VISIBLE, 10, 10, 120, 20, frame,
                                 nullptr, nullptr, nullptr);
        remaining = CreateWindowA("STATIC", "0", WS_CHILD | WS_VISIBLE, 10, 40, 120, 20, frame,
                                  nullptr, nullptr, nullptr);
        if (!frame || !examined || !remaining)
            Fail("the counts window could not be made");
        Settle();
    }
    ~CountsWindow() { DestroyWindow(frame); }
    // Lets the window paint whatever the last run left to paint.
    static void Settle() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    HWND frame, examined, remaining;
};

// The whole of what a user waits for: the program's engine, files (flushed) and progress
// display against the first method as it was, which also showed both counts at every
// slot and wrote its files without flushing them.
void MeasureAsShown(const std::string& base, int count, int runs) {
    const std::string pristine = Join(base, "pristine"), mine = Join(base, "engine"),
                      theirs = Join(base, "reread");
    ProjectList names;
    MakeProjects(pristine, count, 50u, names);
    CountsWindow window;
    PartCounts partCounts{[&](long n) { ShowCount(window.examined, n); },
                          [&](long n) { ShowCount(window.remaining, n); }};
    std::vector<double> engine, reread;
    for (int run = 0; run < runs; ++run) {
        CopyFolder(pristine, mine);
        CopyFolder(pristine, theirs);
        auto runOurs = [&] {
            engine.push_back(Seconds([&] {
                ShowCount(window.examined, 0);
                ShowCount(window.remaining, long(count) * kSlotCount);
                EngineFiles files(mine, names, true);
                ConsolidationCounts counts(window.examined, window.remaining);
                if (Consolidate(count, files, counts.Progress()).status !=
                    ConsolidationStatus::Done)
                    Fail("the consolidation failed");
                counts.ShowWhereItEnded();
            }));
            CountsWindow::Settle();
        };
        auto runTheirs = [&] {
            reread.push_back(Seconds([&] {
                if (!RereadConsolidate(theirs, names, false, nullptr, &partCounts))
                    Fail("the rereading method failed");
            }));
            CountsWindow::Settle();
        };
        InTurns(run, runOurs, runTheirs);
        CompareResults(mine, theirs, names);
    }
    const double ours = Median(engine), baseline = Median(reread);
    printf(
        "Consolidate Projects as the user waits for it, %d full projects, with both counts "
        "on the screen: the program (flushed, counts every 30 ms) %6.1f ms; the first method "
        "(not flushed, counts at every slot) %6.1f ms; %.1f times as fast\n",
        count, ours * 1e3, baseline * 1e3, baseline / ours);
    fs::remove_all(base);
}

#endif

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s DATA_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string data = argv[1];
    fs::remove_all(data);
    MeasureFind(Join(data, "find-100"), 100, 15);
    MeasureFind(Join(data, "find-1000"), 1000, 9);
    MeasureConsolidation(Join(data, "consolidate"), 50, 9, true);
    if (kCanSkipFlush)
        MeasureConsolidation(Join(data, "consolidate"), 50, 9, false);
    MeasureReading(Join(data, "consolidate"), 50, 9);
#ifdef _WIN32
    MeasureAsShown(Join(data, "consolidate"), 50, 9);
#endif
    fs::remove_all(data);
    return 0;
}
