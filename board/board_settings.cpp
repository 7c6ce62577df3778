#include "base/text.h"
#include "board/board.h"
#include "settings/settings.h"

namespace {

// Every option counts as on only for the value 1.
bool ReadOption(const char* name, bool current) {
    return settings::ReadSettingNumber(g_board.settings, settings::kOptions, name,
                                       current ? 1 : 0) == 1;
}

void WriteOption(const char* name, bool on) {
    settings::WriteSettingNumber(g_board.settings, settings::kOptions, name, on ? 1 : 0);
}

} // namespace

void ReadCurrentPath(const char* programFolder, char* path) {
    char sample[kPathSize];
    base::FormatText(sample, sizeof sample, "%s\\%s", programFolder, kSampleFileName);
    settings::ReadSettingText(g_board.settings, settings::kFiles, settings::kCurrent, sample, path,
                              kPathSize);
}

void LoadSettings() {
    using namespace settings;
    if (g_start.freshStart)
        g_board.currentPath[0] = '\0';
    else
        ReadCurrentPath(g_board.programFolder, g_board.currentPath);
    g_board.minOnEachCopy = ReadOption(kMinOnEachCopy, g_board.minOnEachCopy);
    g_board.topMost = ReadOption(kTopMost, g_board.topMost);
    g_board.useSystemTray = ReadOption(kUseSystemTray, g_board.useSystemTray);
    g_board.wantToolTip = ReadOption(kWantToolTip, g_board.wantToolTip);
    g_board.hideInTrayOnStartup = ReadOption(kHideInTrayOnStartup, g_board.hideInTrayOnStartup);
    g_board.autoPaste = ReadOption(kAutoPaste, g_board.autoPaste);
}

void SaveSettings() {
    using namespace settings;
    WriteSettingText(g_board.settings, kFiles, kCurrent, g_board.currentPath);
    WriteOption(kUseSystemTray, g_board.useSystemTray);
    WriteOption(kWantToolTip, g_board.wantToolTip);
    WriteOption(kHideInTrayOnStartup, g_board.hideInTrayOnStartup);
    WriteOption(kAutoPaste, g_board.autoPaste);
    WriteOption(kMinOnEachCopy, g_board.minOnEachCopy);
    WriteOption(kTopMost, g_board.topMost);
}
