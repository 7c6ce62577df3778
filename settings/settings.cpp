#include "settings/settings.h"

#include <windows.h>

#include <climits>
#include <cstdlib>

#include "ui/pumped_wait.h"
#include "ui/text.h"

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

// One primitive at a time: a message handled during a wait must not interleave with a
// primitive further down the stack.
bool g_busy = false;

class BusyMark {
  public:
    BusyMark() {
        while (g_busy)
            ui::PumpedWait(20, true);
        g_busy = true;
    }
    ~BusyMark() { g_busy = false; }
};

class Key {
  public:
    ~Key() {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

void SectionPath(const char* section, char* out, size_t size) {
    ui::FormatText(out, size, "%s\\%s", kRoot, section);
}

// Reads the value as text; false for anything that is not a non-empty text that fits.
bool QueryText(const char* section, const char* name, char* value) {
    char path[512];
    SectionPath(section, path, sizeof path);
    Key key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, key.Out()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = kValueBufferSize;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, (BYTE*)value, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    // Stored data need not carry its terminator; a full buffer without one is too long.
    if (size == kValueBufferSize && value[size - 1] != '\0')
        return false;
    value[size < kValueBufferSize ? size : kValueBufferSize - 1] = '\0';
    return value[0] != '\0';
}

} // namespace

int ReadSettingText(const char* section, const char* name, const char* defaultText, char* out,
                    int outSize) {
    if (!out || outSize <= 0)
        return 0;
    BusyMark busy;
    char value[kValueBufferSize];
    const char* chosen = QueryText(section, name, value) ? value : defaultText;
    return (int)ui::CopyText(out, (size_t)outSize, chosen ? chosen : "");
}

int WriteSettingText(const char* section, const char* name, const char* text) {
    BusyMark busy;
    char path[512];
    SectionPath(section, path, sizeof path);
    Key key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
        return 0;
    if (!text)
        text = "";
    RegSetValueExA(key.Get(), name, 0, REG_SZ, (const BYTE*)text, (DWORD)(strlen(text) + 1));
    return 1;
}

int ReadSettingNumber(const char* section, const char* name, int defaultNumber) {
    char defaultText[32];
    char text[128];
    ui::FormatText(defaultText, sizeof defaultText, "%i", defaultNumber);
    ReadSettingText(section, name, defaultText, text, sizeof text);
    long n = strtol(text, nullptr, 10);
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return (int)n;
}

int WriteSettingNumber(const char* section, const char* name, int number) {
    char text[32];
    ui::FormatText(text, sizeof text, "%i", number);
    return WriteSettingText(section, name, text);
}

unsigned long ReadSettingUnsigned(const char* section, const char* name,
                                  unsigned long defaultNumber) {
    char defaultText[32];
    char text[128];
    ui::FormatText(defaultText, sizeof defaultText, "%lu", defaultNumber);
    ReadSettingText(section, name, defaultText, text, sizeof text);
    return strtoul(text, nullptr, 0);
}

} // namespace settings
