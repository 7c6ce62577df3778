#include "settings/settings.h"

#include <windows.h>

#include <cstring>

#include "base/registry.h"
#include "base/scoped.h"
#include "base/text.h"
#include "settings/number_text.h"

namespace settings {

const char kRoot[] = "Software\\Vontrel\\Applications\\vqp";
const char kConfigure[] = "Configure";
const char kFiles[] = "Files";
const char kHandles[] = "Handles";
const char kOptions[] = "Options";
const char kThisProgramDir[] = "ThisProgramDir";
const char kCurrent[] = "Current";
const char kTransHandle[] = "TransHandle";
const char kUseSystemTray[] = "UseSystemTray";
const char kWantToolTip[] = "WantToolTip";
const char kHideInTrayOnStartup[] = "HideInTrayOnStartup";
const char kAutoPaste[] = "AutoPaste";
const char kMinOnEachCopy[] = "MinOnEachCopy";
const char kTopMost[] = "TopMost";

namespace {

constexpr int kValueBufferSize = 260;

bool g_busy = false;

// False for a store without a root or a path that does not fit.
bool SectionPath(const Store& store, const char* section, char* out, size_t size) {
    if (!store.root || !section)
        return false;
    return base::FormatText(out, size, "%s\\%s", store.root, section) ==
           strlen(store.root) + 1 + strlen(section);
}

// The value as text; false for anything that is not a non-empty text that fits.
bool QueryText(const Store& store, const char* section, const char* name, char* value) {
    char path[512];
    if (!SectionPath(store, section, path, sizeof path))
        return false;
    return base::ReadRegistryText(HKEY_CURRENT_USER, path, name, KEY_ALL_ACCESS, value,
                                  kValueBufferSize) &&
           value[0] != '\0';
}

} // namespace

BusyMark::BusyMark() : acquired_(!g_busy) {
    g_busy = true;
}

BusyMark::~BusyMark() {
    if (acquired_)
        g_busy = false;
}

int ReadSettingText(const Store& store, const char* section, const char* name,
                    const char* defaultText, char* out, int outSize) {
    if (!out || outSize <= 0)
        return 0;
    BusyMark busy;
    char value[kValueBufferSize];
    const bool found = busy.Acquired() && QueryText(store, section, name, value);
    const char* chosen = found ? value : defaultText;
    return (int)base::CopyText(out, (size_t)outSize, chosen ? chosen : "");
}

int WriteSettingText(const Store& store, const char* section, const char* name, const char* text) {
    BusyMark busy;
    if (!busy.Acquired())
        return 0;
    char path[512];
    if (!SectionPath(store, section, path, sizeof path))
        return 0;
    base::ScopedKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
        return 0;
    if (!text)
        text = "";
    RegSetValueExA(key.Get(), name, 0, REG_SZ, (const BYTE*)text, (DWORD)(strlen(text) + 1));
    return 1;
}

int ReadSettingNumber(const Store& store, const char* section, const char* name,
                      int defaultNumber) {
    char defaultText[32];
    char text[128];
    base::FormatText(defaultText, sizeof defaultText, "%i", defaultNumber);
    ReadSettingText(store, section, name, defaultText, text, sizeof text);
    return NumberFromText(text);
}

int WriteSettingNumber(const Store& store, const char* section, const char* name, int number) {
    char text[32];
    base::FormatText(text, sizeof text, "%i", number);
    return WriteSettingText(store, section, name, text);
}

unsigned long ReadSettingUnsigned(const Store& store, const char* section, const char* name,
                                  unsigned long defaultNumber) {
    char defaultText[32];
    char text[128];
    base::FormatText(defaultText, sizeof defaultText, "%lu", defaultNumber);
    ReadSettingText(store, section, name, defaultText, text, sizeof text);
    return UnsignedFromText(text);
}

} // namespace settings
