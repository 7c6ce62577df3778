// A board program in a scratch program folder with a clean settings store.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "driver/driver.h"

namespace e2e {

extern const char kSettingsRoot[]; // Software\Vontrel\Applications\vqp
constexpr size_t kImageSize = 338976;
constexpr DWORD kWait = 10000; // ms for anything the board does on its own
// The captions of the board's two name prompts.
inline constexpr char kSaveAsCaption[] = "Save Current Tessaro Project As";
inline constexpr char kNewCaption[] = "Name of New Tessaro Project";

// A project file's bytes with the given button names and texts (slot 0 first).
std::string MakeImage(std::initializer_list<const char*> names,
                      std::initializer_list<const char*> texts = {});
std::string ImageName(const std::string& image, int slot);
std::string ImageText(const std::string& image, int slot);
std::string SampleImage(); // slots 0-5 named like the installed sample
// A file as another program leaves it: new bytes, and a write time a moment on, so that
// even a coarse clock tells the change.
bool WriteAsAnotherProgram(const std::string& path, const std::string& bytes);

class BoardTest : public ::testing::Test {
  protected:
    // Empties the settings store, makes a scratch program folder holding SAMPLE.VQP and
    // records it as ThisProgramDir. Options are set so nothing minimises on a copy unless
    // a test asks for it (MinOnEachCopy 0, AutoPaste 0, UseSystemTray 0, WantToolTip 0).
    void SetUp() override;
    // Ends any board still running (close request, then kill) and removes the folder.
    void TearDown() override;

    std::string Path(const std::string& fileName) const { return folder_ + "\\" + fileName; }
    void SetOption(const char* name, const char* value);
    std::string Setting(const char* section, const char* name); // "<missing>" if absent

    // Starts KESTRUM.EXE with args in the program folder and waits for its board window
    // (title "Tessaro >..."); fails the test if it does not come.
    HWND StartBoard(const std::string& args = "");
    // Posts the installer's close request (IDM_CLOSE_REQUEST) and waits for the process to end.
    void CloseBoard();
    // Waits for a message box of the board and returns its text, answering it.
    std::string AnswerBox(int button, DWORD timeoutMs = kWait);

    // Picks a project in the selector as the user does (the selection, then its notice).
    void Pick(const std::string& entry) { Pick(window_, entry); }
    void Pick(HWND board, const std::string& entry);
    // The name prompt with this caption; answered with a name, or cancelled.
    HWND WaitPrompt(const char* caption);
    void Answer(HWND prompt, const std::string& text);
    void Cancel(HWND prompt);
    bool WaitTitle(const std::string& path);

    std::string folder_;
    driver::Process board_;
    HWND window_ = nullptr;
};

} // namespace e2e
