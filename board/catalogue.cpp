#include "board/catalogue.h"

#include <cstring>

#include "base/scoped.h"
#include "base/text.h"
#include "board/board.h"
#include "board/board_image.h"
#include "board/project_io.h"
#include "dialogs/prompt.h"
#include "resources/kestrum_ids.h"
#include "store/project_names.h"
#include "ui/message.h"
#include "ui/window_stack.h"

namespace {

const char kNewProjectCaption[] = "Name of New Tessaro Project";
const char kSaveAsCaption[] = "Save Current Tessaro Project As";
const char kNewProjectPrompt[] = "Create a new 31 button group of clipboard text messages.";
const char kSaveAsPrompt[] = "Save this 31 button group of clipboard text messages as:";

// A switch reads here first, so a file that cannot be read changes nothing at all.
ProjectImage g_pickedImage;

HWND Selector() {
    return GetDlgItem(g_board.window, IDC_PROJECTS);
}

int EntryCount(HWND selector) {
    return (int)SendMessageA(selector, CB_GETCOUNT, 0, 0);
}

// Reads entry i; an entry too long for out reads as empty.
void EntryText(HWND selector, int i, char* out, size_t size) {
    out[0] = '\0';
    LRESULT length = SendMessageA(selector, CB_GETLBTEXTLEN, (WPARAM)i, 0);
    if (length == CB_ERR || (size_t)length + 1 > size)
        return;
    SendMessageA(selector, CB_GETLBTEXT, (WPARAM)i, (LPARAM)out);
    out[size - 1] = '\0';
}

bool EndsWithExtension(const char* name) {
    const size_t n = strlen(name);
    return n >= 4 && base::EqualsNoCase(name + n - 4, ".vqp");
}

// Adds the project files of the program folder, at most kMaxSelectorEntries of them.
void ListProjectFiles(HWND selector) {
    char pattern[kPathSize + 8];
    base::FormatText(pattern, sizeof pattern, "%s\\*.vqp", g_board.programFolder);
    WIN32_FIND_DATAA found;
    base::ScopedFind listing(FindFirstFileA(pattern, &found));
    if (!listing.Valid())
        return;
    int added = 0;
    do {
        // The pattern also matches through short names ("x.vqpx" is "X~1.VQP") and
        // matches folders; neither is a project.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !EndsWithExtension(found.cFileName))
            continue;
        SendMessageA(selector, CB_ADDSTRING, 0, (LPARAM)found.cFileName);
        ++added;
    } while (added < kMaxSelectorEntries && FindNextFileA(listing.Get(), &found));
}

// Selects the first entry that begins with the current project's file name, when the
// current project lies in the program folder. Returns whether it found one.
bool SelectCurrentEntry(HWND selector) {
    const char* path = g_board.currentPath;
    const size_t folderLength = strlen(g_board.programFolder);
    if (path[0] == '\0' || !base::StartsWithNoCase(path, g_board.programFolder, folderLength) ||
        path[folderLength] != '\\')
        return false;
    const char* name = FileNamePart(path);
    const size_t nameLength = strlen(name);
    char entry[MAX_PATH];
    const int count = EntryCount(selector);
    for (int i = 0; i < count; ++i) {
        EntryText(selector, i, entry, sizeof entry);
        if (base::StartsWithNoCase(entry, name, nameLength)) {
            SendMessageA(selector, CB_SETCURSEL, (WPARAM)i, 0);
            return true;
        }
    }
    return false;
}

void RemoveEntry(HWND selector, const char* name) {
    char entry[MAX_PATH];
    const int count = EntryCount(selector);
    for (int i = 0; i < count; ++i) {
        EntryText(selector, i, entry, sizeof entry);
        if (base::EqualsNoCase(entry, name)) {
            SendMessageA(selector, CB_DELETESTRING, (WPARAM)i, 0);
            return;
        }
    }
}

// The path of the entry the user picked into out (cut if need be). Returns false when
// nothing is picked; tooLong tells that the path exceeds what a project path may hold.
bool PickedPath(char* out, size_t size, bool& tooLong) {
    HWND selector = Selector();
    LRESULT picked = SendMessageA(selector, CB_GETCURSEL, 0, 0);
    if (picked == CB_ERR)
        return false;
    char entry[MAX_PATH];
    EntryText(selector, (int)picked, entry, sizeof entry);
    const size_t length = strlen(g_board.programFolder) + 1 + strlen(entry);
    tooLong = entry[0] == '\0' || length > kMaxProjectPath || length + 1 > size;
    base::FormatText(out, size, "%s\\%s", g_board.programFolder, entry);
    return true;
}

// After a switch that did not happen the selector shows the current project again.
void ShowCurrentInSelector() {
    HWND selector = Selector();
    if (!SelectCurrentEntry(selector))
        SendMessageA(selector, CB_SETCURSEL, (WPARAM)-1, 0);
}

// The picked project cannot be opened: the previous one stays current, on disk and in
// the selector, and the user is told.
void RefuseSwitch(const char* picked) {
    ShowCurrentInSelector();
    ui::ShowMessage(MB_ICONSTOP, "Unable to open project:\n%s", picked);
}

// Whether a save may write the board over the current project file without asking for a
// name: the board shows what that file held, and the file is still there.
bool BoardShowsCurrentFile() {
    return g_board.showsCurrentFile && ProjectFileExists(g_board.currentPath);
}

int AskOverwriteChangedFile() {
    return ui::ShowMessage(MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2,
                           "Another program has changed this project file since Tessaro read "
                           "or saved it:\n%s\n\nDo you want to overwrite it with the board?\n\n"
                           "Yes: overwrite the file.\nNo: save the board under another name.\n"
                           "Cancel: do not save the board now.",
                           g_board.currentPath);
}

// Writes the gathered board over the current project file, which the board shows. A file
// that another program changed since (another board on the same folder, a sync tool) is
// only written over when the user says so.
SaveResult WriteOverCurrentProject() {
    if (FileChangedSince(g_board.currentPath, g_board.currentStamp)) {
        const int answer = AskOverwriteChangedFile();
        if (answer == IDNO)
            return SaveProjectAs() ? SaveResult::kSaved : SaveResult::kNotSaved;
        if (answer != IDYES)
            return SaveResult::kNotSaved;
    }
    return BoardWriteProject(g_board.currentPath, g_boardImage, true) ? SaveResult::kSaved
                                                                      : SaveResult::kNotSaved;
}

// The drop-down list only stays open on a board that is on screen and has the user's
// attention: during start-up the dialog manager's first focus move would close it again.
constexpr UINT kListRetryMs = 100;
constexpr int kListRetries = 50;
UINT_PTR g_listTimer = 0;
int g_listTriesLeft = 0;

bool BoardReadyForList() {
    return g_board.window && IsWindowVisible(g_board.window) && !IsIconic(g_board.window) &&
           ui::TopWindowHandle() == g_board.window;
}

void DropListDown() {
    FocusSelector();
    SendMessageA(Selector(), CB_SHOWDROPDOWN, TRUE, 0);
}

void CALLBACK OpenListWhenReady(HWND, UINT, UINT_PTR, DWORD) {
    if (!BoardReadyForList() && --g_listTriesLeft > 0)
        return;
    KillTimer(nullptr, g_listTimer);
    g_listTimer = 0;
    // Meanwhile a project may have become current and selected.
    if (BoardReadyForList() && SendMessageA(Selector(), CB_GETCURSEL, 0, 0) == CB_ERR)
        DropListDown();
}

void OpenSelectorList() {
    if (BoardReadyForList()) {
        DropListDown();
        return;
    }
    g_listTriesLeft = kListRetries;
    if (!g_listTimer)
        g_listTimer = SetTimer(nullptr, 0, kListRetryMs, OpenListWhenReady);
}

// Writes the board image as the newly named current project and shows it in the list.
int WriteNewlyNamedProject() {
    int written = BoardWriteProject(g_board.currentPath, g_boardImage, true);
    FillProjectSelector();
    FocusSelector();
    SaveSettings();
    return written;
}

} // namespace

int FillProjectSelector() {
    HWND selector = Selector();
    SendMessageA(selector, WM_SETREDRAW, FALSE, 0);
    SendMessageA(selector, CB_RESETCONTENT, 0, 0);
    ListProjectFiles(selector);
    SendMessageA(selector, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(selector, nullptr, TRUE);
    if (SelectCurrentEntry(selector))
        return 1;
    // Nothing to show: let the user pick a project.
    OpenSelectorList();
    return 0;
}

int MakeProjectPath(char* buffer, size_t size) {
    return TypedNameToProjectPath(g_board.programFolder, buffer, size);
}

int AskProjectFileName(const char* caption, NameMode mode) {
    const char* prompt = mode == NameMode::kNew ? kNewProjectPrompt : kSaveAsPrompt;
    char answer[kPathSize];
    for (;;) {
        // Each round suggests the current project's name, never what was typed before.
        SuggestedProjectName(g_board.currentPath, answer, sizeof answer);
        if (!PromptForText(caption, answer, sizeof answer, "%s", prompt))
            return 0;
        if (!MakeProjectPath(answer, sizeof answer)) {
            ui::ShowMessage(MB_ICONERROR, "Invalid Filename");
            continue;
        }
        if (ProjectFileExists(answer) &&
            ui::ShowMessage(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
                            "File Exists:\n%s\n\nDo you want to overwrite this [31 button "
                            "group of clipboard text messages] ?",
                            answer) != IDYES)
            continue;
        base::CopyText(g_board.currentPath, kPathSize, answer);
        g_board.showsCurrentFile = false; // until the board is written there
        return 1;
    }
}

SaveResult SaveCurrentIfPresent() {
    if (!BoardShowsCurrentFile())
        return SaveResult::kNothingToSave;
    GatherBoard();
    return WriteOverCurrentProject();
}

int SwitchProject() {
    char picked[kPathSize];
    bool tooLong = false;
    if (!PickedPath(picked, sizeof picked, tooLong))
        return 0;
    // The board already shows the picked file: reading it again would throw away the typing.
    if (g_board.showsCurrentFile && base::EqualsNoCase(picked, g_board.currentPath)) {
        ShowCurrentInSelector();
        return 0;
    }
    // Checked before anything is saved or changed: the current path must never name a
    // file that the board does not show, or the next save would overwrite it.
    FileStamp pickedStamp;
    if (tooLong || !BoardReadProject(picked, g_pickedImage, false, &pickedStamp)) {
        RefuseSwitch(picked);
        SaveSettings();
        return 0;
    }
    // Unsaved typing is never thrown away: the board stays as it is, and the message of the
    // failed write has told why.
    if (SaveCurrentIfPresent() == SaveResult::kNotSaved) {
        ShowCurrentInSelector();
        return 0;
    }
    base::CopyText(g_board.currentPath, kPathSize, picked);
    SetBoardTitle(g_board.currentPath);
    memcpy(&g_boardImage, &g_pickedImage, sizeof g_boardImage);
    ScatterBoard();
    g_board.showsCurrentFile = true;
    g_board.currentStamp = pickedStamp;
    SaveSettings();
    return 1;
}

int NewProject() {
    if (SaveCurrentIfPresent() == SaveResult::kNotSaved)
        return 0;
    if (!AskProjectFileName(kNewProjectCaption, NameMode::kNew))
        return 0;
    ClearImage(g_boardImage);
    ScatterBoard();
    return WriteNewlyNamedProject();
}

int SaveProject() {
    if (!BoardShowsCurrentFile())
        return SaveProjectAs();
    GatherBoard();
    if (WriteOverCurrentProject() != SaveResult::kSaved)
        return 0;
    FocusSelector();
    SaveSettings();
    return 1;
}

int SaveProjectAs() {
    GatherBoard();
    if (!AskProjectFileName(kSaveAsCaption, NameMode::kSaveAs))
        return 0;
    return WriteNewlyNamedProject();
}

int DeleteProject() {
    if (g_board.currentPath[0] == '\0')
        return 0;
    if (ui::ShowMessage(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
                        "You are about to delete project:\n%s\n\nDo you want to delete this "
                        "project?",
                        g_board.currentPath) != IDYES)
        return 0;
    GatherBoard();
    DeleteFileA(g_board.currentPath);
    HWND selector = Selector();
    RemoveEntry(selector, FileNamePart(g_board.currentPath));
    g_board.currentPath[0] = '\0';
    g_board.showsCurrentFile = false;
    FillProjectSelector();
    SaveSettings();
    return 1;
}

int SaveOnExit() {
    GatherBoard();
    if (BoardShowsCurrentFile())
        WriteOverCurrentProject();
    else if (AskProjectFileName(kSaveAsCaption, NameMode::kSaveAs))
        BoardWriteProject(g_board.currentPath, g_boardImage, true);
    SaveSettings();
    return 1;
}

void SaveBeforeConsolidating() {
    GatherBoard();
    if (BoardShowsCurrentFile())
        WriteOverCurrentProject();
    else if (!ProjectFileExists(g_board.currentPath))
        BoardWriteProject(g_board.currentPath, g_boardImage, true); // no project: it says so
}
