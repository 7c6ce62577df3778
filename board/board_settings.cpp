#include "board/board.h"
#include "settings/settings.h"
#include "ui/text.h"

namespace {

// Every option counts as on only for the value 1.
int ReadOption(const char* name, int current) {
    return settings::ReadSettingNumber(settings::kOptions, name, current) == 1 ? 1 : 0;
}

} // namespace

void LoadSettings() {
    using namespace settings;
    if (g_start.freshStart) {
        g_board.currentPath[0] = '\0';
    } else {
        char sample[kPathSize];
        ui::FormatText(sample, sizeof sample, "%s\\%s", g_board.programFolder, kSampleFileName);
        ReadSettingText(kFiles, kCurrent, sample, g_board.currentPath, kPathSize);
    }
    g_board.minOnEachCopy = ReadOption(kMinOnEachCopy, g_board.minOnEachCopy);
    g_board.topMost = ReadOption(kTopMost, g_board.topMost);
    g_board.useSystemTray = ReadOption(kUseSystemTray, g_board.useSystemTray);
    g_board.wantToolTip = ReadOption(kWantToolTip, g_board.wantToolTip);
    g_board.hideInTrayOnStartup = ReadOption(kHideInTrayOnStartup, g_board.hideInTrayOnStartup);
    g_board.autoPaste = ReadOption(kAutoPaste, g_board.autoPaste);
}

void SaveSettings() {
    using namespace settings;
    WriteSettingText(kFiles, kCurrent, g_board.currentPath);
    WriteSettingNumber(kOptions, kUseSystemTray, g_board.useSystemTray);
    WriteSettingNumber(kOptions, kWantToolTip, g_board.wantToolTip);
    WriteSettingNumber(kOptions, kHideInTrayOnStartup, g_board.hideInTrayOnStartup);
    WriteSettingNumber(kOptions, kAutoPaste, g_board.autoPaste);
    WriteSettingNumber(kOptions, kMinOnEachCopy, g_board.minOnEachCopy);
    WriteSettingNumber(kOptions, kTopMost, g_board.topMost);
}
