// The settings store shared by the board program and the installer: one registry subtree
// of the current user, one subkey per section, every value REG_SZ text.
#pragma once

namespace settings {

// Where a store lives: its root key under HKEY_CURRENT_USER. The programs pass kRoot;
// tests pass a scratch key of their own. A store without a root reads every default and
// writes nothing.
struct Store {
    const char* root = nullptr;
};

extern const char kRoot[]; // Software\Vontrel\Applications\vqp

// Section and value names; the other program reads and writes the same ones.
extern const char kConfigure[];
extern const char kFiles[];
extern const char kHandles[];
extern const char kOptions[];
extern const char kThisProgramDir[];
extern const char kCurrent[];
extern const char kTransHandle[];
extern const char kUseSystemTray[];
extern const char kWantToolTip[];
extern const char kHideInTrayOnStartup[];
extern const char kAutoPaste[];
extern const char kMinOnEachCopy[];
extern const char kTopMost[];

// Reads a value into out (at most outSize - 1 characters). A missing key or value, an
// empty value and one longer than 259 characters all give the default (or an empty
// text without one). Returns the length placed in out.
int ReadSettingText(const Store& store, const char* section, const char* name,
                    const char* defaultText, char* out, int outSize);
// Returns 1, or 0 if the section key cannot be created or opened.
int WriteSettingText(const Store& store, const char* section, const char* name, const char* text);

// Numbers are signed decimal text; reading takes the leading digits, so a word reads as 0.
int ReadSettingNumber(const Store& store, const char* section, const char* name, int defaultNumber);
int WriteSettingNumber(const Store& store, const char* section, const char* name, int number);

// The installer's reading: unsigned, with automatic base ("0x1A" is 26, "010" is 8).
unsigned long ReadSettingUnsigned(const Store& store, const char* section, const char* name,
                                  unsigned long defaultNumber);

// One primitive at a time. Each primitive holds the mark while it runs; a primitive that
// finds the mark already held (it was started from inside another one) does not touch the
// registry: a read gives its default and a write returns 0. The programs are single-
// threaded, so waiting for the mark could only wait for ever.
class BusyMark {
  public:
    BusyMark();
    ~BusyMark();
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;
    // False when the mark was already held by someone else.
    bool Acquired() const { return acquired_; }

  private:
    bool acquired_;
};

} // namespace settings
