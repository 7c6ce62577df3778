// The fixed texts of the Help dialog and the order in which the Overview shows them.
#pragma once

// The Overview is the overview text followed by sixteen topics: every topic of the Help
// menu except "&Rename One Button", whose sentence the Rename Buttons topic already holds.
constexpr int kOverviewPartCount = 17;

// Index 0 is the overview text itself; nullptr outside 0..16.
const char* OverviewPart(int index);
