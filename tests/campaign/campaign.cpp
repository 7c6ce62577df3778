#include "campaign/campaign.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace campaign {

namespace {

constexpr int kSlots = 33, kNameSize = 32, kTextSize = 10240;
constexpr size_t kTextsAt = kSlots * kNameSize;

std::vector<std::pair<std::string, Tally>>& Rows() {
    static std::vector<std::pair<std::string, Tally>> rows;
    return rows;
}

int EnvNumber(const char* name, int fallback) {
    const char* text = getenv(name);
    return text && *text ? atoi(text) : fallback;
}

// The field of width at offset, cut at its NUL; "" when it has none.
std::string Field(const std::string& image, size_t offset, size_t width) {
    size_t end = image.find('\0', offset);
    if (end == std::string::npos || end >= offset + width)
        return "";
    return image.substr(offset, end - offset);
}

// What a reader of a failure needs: the size, or the first field that differs.
std::string Difference(const std::string& seen, const std::string& wanted) {
    if (seen.size() != wanted.size())
        return std::to_string(seen.size()) + " bytes";
    for (int slot = 0; slot < kSlots; ++slot) {
        const size_t at = kTextsAt + size_t(slot) * kTextSize;
        if (seen.compare(at, kTextSize, wanted, at, kTextSize) != 0)
            return "text " + std::to_string(slot) + " is \"" + Field(seen, at, kTextSize) + "\"";
        if (seen.compare(size_t(slot) * kNameSize, kNameSize, wanted, size_t(slot) * kNameSize,
                         kNameSize) != 0)
            return "name " + std::to_string(slot) + " differs";
    }
    return "same";
}

} // namespace

Tally& Row(const std::string& part) {
    for (auto& row : Rows())
        if (row.first == part)
            return row.second;
    Rows().push_back({part, Tally()});
    return Rows().back().second;
}

bool PrintTable() {
    Tally total;
    printf("\nFault campaign\n");
    printf("%-38s %7s %6s %10s %9s %10s\n", "part", "trials", "kills", "mid-save", "damaged",
           "temp left");
    auto line = [](const std::string& name, const Tally& t) {
        printf("%-38s %7d %6d %10d %9d %10d\n", name.c_str(), t.trials, t.kills, t.killedMidSave,
               t.damaged, t.left);
    };
    for (const auto& row : Rows()) {
        line(row.first, row.second);
        total.trials += row.second.trials;
        total.kills += row.second.kills;
        total.killedMidSave += row.second.killedMidSave;
        total.damaged += row.second.damaged;
        total.left += row.second.left;
    }
    line("total", total);
    printf(
        "(mid-save: kills that left a temporary file of the save on the disk; damaged and "
        "temp left must be 0)\n");
    fflush(stdout);
    return total.damaged == 0 && total.left == 0;
}

int TrialCount() {
    return std::max(1, EnvNumber("TESSARO_CAMPAIGN_TRIALS", 50));
}

unsigned Seed() {
    static unsigned seed = unsigned(EnvNumber("TESSARO_CAMPAIGN_SEED", int(GetTickCount())));
    return seed;
}

std::string TaggedImage(const std::string& project) {
    std::string image(e2e::kImageSize, '\0');
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::string name = project + " " + std::to_string(slot);
        const std::string text = project + " text " + std::to_string(slot);
        image.replace(size_t(slot) * kNameSize, name.size(), name);
        image.replace(kTextsAt + size_t(slot) * kTextSize, text.size(), text);
    }
    return image;
}

std::string WithText(const std::string& image, int slot, const std::string& text) {
    std::string changed = image;
    const size_t at = kTextsAt + size_t(slot) * kTextSize;
    changed.replace(at, kTextSize, std::string(kTextSize, '\0'));
    changed.replace(at, text.size(), text);
    return changed;
}

std::string OwnerOf(const std::string& image) {
    if (image.size() != e2e::kImageSize)
        return "";
    std::string owner;
    for (int slot = 0; slot < kSlots; ++slot) {
        for (const std::string& field :
             {Field(image, size_t(slot) * kNameSize, kNameSize),
              Field(image, kTextsAt + size_t(slot) * kTextSize, kTextSize)}) {
            if (field.empty())
                continue;
            const std::string tag = field.substr(0, field.find(' '));
            if (owner.empty())
                owner = tag;
            else if (tag != owner)
                return "";
        }
    }
    return owner;
}

std::string ProjectName(const std::string& fileName) {
    const size_t n = fileName.size();
    if (n >= 4 && _stricmp(fileName.c_str() + n - 4, ".vqp") == 0)
        return fileName.substr(0, n - 4);
    return fileName;
}

std::vector<std::string> Files(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

void CheckProjects(Tally& row, const std::string& folder,
                   const std::map<std::string, std::vector<std::string>>& allowed) {
    for (const auto& project : allowed) {
        const std::string path = folder + "\\" + project.first;
        const std::string seen = driver::ReadFileBytes(path);
        const std::vector<std::string>& images = project.second;
        // An empty image among the allowed ones stands for a missing file.
        if (std::find(images.begin(), images.end(), seen) != images.end())
            continue;
        ++row.damaged;
        ADD_FAILURE() << project.first << " is neither a whole old nor a whole new image: "
                      << (driver::FileExists(path)
                              ? Difference(seen, images.empty() ? "" : images.front())
                              : "missing");
    }
    for (const std::string& name : Files(folder, "*.vqp")) {
        bool known = false;
        for (const auto& project : allowed)
            known = known || _stricmp(project.first.c_str(), name.c_str()) == 0;
        if (!known) {
            ++row.damaged;
            ADD_FAILURE() << name << " appeared in " << folder;
        }
    }
}

void CheckNoTemporaries(Tally& row, const std::string& folder,
                        const std::vector<std::string>& users) {
    for (const std::string& name : Files(folder, "*.tmp")) {
        if (std::find(users.begin(), users.end(), name) != users.end())
            continue;
        ++row.left;
        ADD_FAILURE() << "temporary file left: " << folder << "\\" << name;
    }
}

} // namespace campaign

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    printf("fault campaign: %d kill trials, seed %u\n", campaign::TrialCount(), campaign::Seed());
    const int failed = RUN_ALL_TESTS();
    const bool clean = campaign::PrintTable();
    return failed || !clean ? 1 : 0;
}
