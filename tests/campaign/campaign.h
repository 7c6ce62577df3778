// The fault campaign: the real board under a full disk, kills in the middle of its saves,
// and other programs and boards at work in its folder. Every part adds its figures to one
// table, printed at the end; projects damaged and temporary files left must both be 0.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/board_fixture.h"

namespace campaign {

struct Tally {
    int trials = 0;
    int kills = 0;         // the board was still running when it was ended
    int killedMidSave = 0; // ... and a temporary file of its save was on the disk
    int damaged = 0;       // projects (or the user's other files) not as they must be
    int left = 0;          // temporary files still there after the board started again
};

// The row of a part of the campaign, made on first use; rows print in that order.
Tally& Row(const std::string& part);
// Prints the table; returns whether damaged and left are 0 everywhere.
bool PrintTable();

// How many kill trials: TESSARO_CAMPAIGN_TRIALS, else the short run's 50.
int TrialCount();
// The random seed: TESSARO_CAMPAIGN_SEED, else the clock; printed so a run can be repeated.
unsigned Seed();

// A project whose 33 slots all carry its name ("Alpha 7" / "Alpha text 7"), so that a slot
// that strays into another project is seen.
std::string TaggedImage(const std::string& project);
// The image with slot's text replaced, as the board gathers it.
std::string WithText(const std::string& image, int slot, const std::string& text);
// The project whose name every non-empty name and text of the image starts with; "" when
// the image is not whole or mixes projects.
std::string OwnerOf(const std::string& image);
// The name of a project file without ".vqp" (any case).
std::string ProjectName(const std::string& fileName);

// The files of folder that match pattern ("*.vqp", "*.tmp"), names only.
std::vector<std::string> Files(const std::string& folder, const char* pattern);

// Counts into the row and reports every project of folder whose bytes are not one of the
// allowed images, and every project file that is not expected at all.
void CheckProjects(Tally& row, const std::string& folder,
                   const std::map<std::string, std::vector<std::string>>& allowed);
// Counts into the row and reports every "*.tmp" of folder that is not one of the user's.
void CheckNoTemporaries(Tally& row, const std::string& folder,
                        const std::vector<std::string>& users = {});

} // namespace campaign
