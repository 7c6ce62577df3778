// The prompt dialog run for real inside the test process, and the project-name question
// built on it. A thread timer plays the user: it waits until the prompt is on screen,
// notes what it shows, types the scripted answer and ends it the scripted way. Message
// boxes are answered through the message hook.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "base/text.h"
#include "board/board.h"
#include "board/catalogue.h"
#include "dialogs/prompt.h"
#include "resources/kestrum_ids.h"
#include "ui/message.h"
#include "ui/window_stack.h"

namespace {

enum class Ending { Apply, Enter, Escape, CloseBox, Nothing };

struct Reply {
    Ending ending;
    bool type = false; // replace the suggestion with text
    std::string text;
};

struct PromptSeen {
    std::string caption;
    std::string prompt;
    std::string suggestion;
    bool focusOnEdit = false;
    bool wholeTextSelected = false;
    bool onWindowStack = false;
};

struct BoxSeen {
    std::string text;
    std::string caption;
    UINT type;
};

std::deque<Reply> g_replies;
std::vector<PromptSeen> g_prompts;
std::deque<int> g_boxAnswers;
std::vector<BoxSeen> g_boxes;
HWND g_handled = nullptr;

Reply Apply() {
    return {Ending::Apply, false, ""};
}
Reply Apply(const std::string& text) {
    return {Ending::Apply, true, text};
}
Reply Enter(const std::string& text) {
    return {Ending::Enter, true, text};
}
Reply Escape(const std::string& text) {
    return {Ending::Escape, true, text};
}
Reply CloseBox() {
    return {Ending::CloseBox, false, ""};
}

std::string WindowText(HWND window) {
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

PromptSeen Observe(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDE_PROMPT);
    PromptSeen seen;
    seen.caption = WindowText(dialog);
    seen.prompt = WindowText(GetDlgItem(dialog, IDT_PROMPT));
    seen.suggestion = WindowText(edit);
    seen.focusOnEdit = GetFocus() == edit;
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    seen.wholeTextSelected = start == 0 && end == (DWORD)GetWindowTextLengthA(edit);
    seen.onWindowStack = ui::TopWindowHandle() == dialog;
    return seen;
}

void End(HWND dialog, Ending ending) {
    HWND edit = GetDlgItem(dialog, IDE_PROMPT);
    switch (ending) {
    case Ending::Apply:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     (LPARAM)GetDlgItem(dialog, IDOK));
        break;
    case Ending::Enter: PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0); break;
    case Ending::Escape: PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0); break;
    case Ending::CloseBox: PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Ending::Nothing: break;
    }
}

void CALLBACK PlayUser(HWND, UINT, UINT_PTR, DWORD) {
    HWND top = ui::TopWindowHandle();
    if (!top || top == g_handled || !GetDlgItem(top, IDE_PROMPT) || !IsWindowVisible(top))
        return;
    g_handled = top;
    g_prompts.push_back(Observe(top));
    if (g_replies.empty()) { // unscripted prompt: fail, but do not hang
        ADD_FAILURE() << "unexpected prompt " << g_prompts.back().caption;
        End(top, Ending::Escape);
        return;
    }
    Reply reply = g_replies.front();
    g_replies.pop_front();
    if (reply.type)
        SetDlgItemTextA(top, IDE_PROMPT, reply.text.c_str());
    End(top, reply.ending);
}

int AnswerBox(const char* text, const char* caption, UINT type) {
    g_boxes.push_back({text, caption, type});
    if (g_boxAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << text;
        return IDNO;
    }
    int answer = g_boxAnswers.front();
    g_boxAnswers.pop_front();
    return answer;
}

class PromptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_replies.clear();
        g_prompts.clear();
        g_boxAnswers.clear();
        g_boxes.clear();
        g_handled = nullptr;
        ui::SetMessageHook(AnswerBox);
        timer_ = SetTimer(nullptr, 0, 20, PlayUser);
        ASSERT_NE(0u, timer_);
        stackBefore_ = ui::WindowStackCount();
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        ui::SetMessageHook(nullptr);
        EXPECT_TRUE(g_replies.empty()) << "scripted prompts that never came";
        EXPECT_TRUE(g_boxAnswers.empty()) << "scripted message boxes that never came";
        EXPECT_EQ(stackBefore_, ui::WindowStackCount()) << "the prompt stayed on the stack";
    }

    UINT_PTR timer_ = 0;
    int stackBefore_ = 0;
};

TEST_F(PromptTest, ShowsTitleFormattedPromptAndSelectedSuggestion) {
    g_replies = {Apply()};
    char answer[32] = "First Name";
    EXPECT_EQ(1, PromptForText("Define Button", answer, sizeof answer, "Define button %d of %s:", 7,
                               "Home"));
    ASSERT_EQ(1u, g_prompts.size());
    EXPECT_EQ("Define Button", g_prompts[0].caption);
    EXPECT_EQ("Define button 7 of Home:", g_prompts[0].prompt);
    EXPECT_EQ("First Name", g_prompts[0].suggestion);
    EXPECT_TRUE(g_prompts[0].focusOnEdit);
    EXPECT_TRUE(g_prompts[0].wholeTextSelected);
    EXPECT_TRUE(g_prompts[0].onWindowStack);
}

TEST_F(PromptTest, ApplyUnchangedKeepsTheBuffer) {
    g_replies = {Apply()};
    char answer[32] = "Street Address";
    EXPECT_EQ(1,
              PromptForText("Define Button", answer, sizeof answer, "Define this button name as:"));
    EXPECT_STREQ("Street Address", answer);
}

TEST_F(PromptTest, ApplyAndEnterTakeTheTypedAnswer) {
    g_replies = {Apply("Typed"), Enter("Entered")};
    char answer[32] = "old";
    EXPECT_EQ(1, PromptForText("Prompt", answer, sizeof answer, "x"));
    EXPECT_STREQ("Typed", answer);
    EXPECT_EQ(1, PromptForText("Prompt", answer, sizeof answer, "x"));
    EXPECT_STREQ("Entered", answer);
    ASSERT_EQ(2u, g_prompts.size());
    EXPECT_EQ("Typed", g_prompts[1].suggestion);
}

TEST_F(PromptTest, ApplyEmptyGivesAnEmptyAnswer) {
    g_replies = {Apply("")};
    char answer[256] = "SAMPLE";
    EXPECT_EQ(1, PromptForText("Prompt", answer, sizeof answer, "x"));
    EXPECT_STREQ("", answer);
}

TEST_F(PromptTest, EscapeAndTheCloseBoxCancelWhateverWasTyped) {
    g_replies = {Escape("something else"), {Ending::CloseBox, true, "more"}};
    char answer[32] = "City";
    EXPECT_EQ(0, PromptForText("Prompt", answer, sizeof answer, "x"));
    EXPECT_STREQ("City", answer);
    EXPECT_EQ(0, PromptForText("Prompt", answer, sizeof answer, "x"));
    EXPECT_STREQ("City", answer);
}

TEST_F(PromptTest, AnAnswerIsCutToTheCallersBuffer) {
    const std::string typed(40, 'w');
    g_replies = {Apply(typed)};
    char answer[32 + 8];
    memset(answer, '#', sizeof answer);
    answer[0] = '\0';
    EXPECT_EQ(1, PromptForText("Prompt", answer, 32, "Define this button name as:"));
    EXPECT_EQ(std::string(31, 'w'), answer);
    for (size_t i = 32; i < sizeof answer; ++i)
        EXPECT_EQ('#', answer[i]) << "byte " << i << " written";
}

TEST_F(PromptTest, AnAnswerIsCutTo255FirstWhateverTheBuffer) {
    g_replies = {Apply(std::string(300, 'a'))};
    char answer[1000] = "";
    EXPECT_EQ(1, PromptForText("Prompt", answer, sizeof answer, "x"));
    EXPECT_EQ(std::string(255, 'a'), answer);
}

TEST_F(PromptTest, ASuggestionLongerThan255IsShownCut) {
    g_replies = {Apply()};
    std::string suggestion(300, 's');
    char answer[1000];
    base::CopyText(answer, sizeof answer, suggestion.c_str());
    EXPECT_EQ(1, PromptForText("Prompt", answer, sizeof answer, "x"));
    ASSERT_EQ(1u, g_prompts.size());
    EXPECT_EQ(std::string(255, 's'), g_prompts[0].suggestion);
    // What came back from the edit box differs from the buffer, so it replaces it.
    EXPECT_EQ(std::string(255, 's'), answer);
}

TEST_F(PromptTest, WithoutAnAnswerBufferApplyStillReturns0) {
    g_replies = {Apply("ignored")};
    EXPECT_EQ(0, PromptForText("Prompt", nullptr, 0, "x"));
    ASSERT_EQ(1u, g_prompts.size());
    EXPECT_EQ("", g_prompts[0].suggestion);
}

TEST_F(PromptTest, APromptTextCannotOverrunItsBuffer) {
    g_replies = {Apply()};
    std::string longText(3000, 'p');
    char answer[8] = "a";
    EXPECT_EQ(1, PromptForText("Prompt", answer, sizeof answer, "%s", longText.c_str()));
    ASSERT_EQ(1u, g_prompts.size());
    EXPECT_EQ(std::string(1023, 'p'), g_prompts[0].prompt);
}

// The project-name question, with a scratch program folder.
class ProjectNamePromptTest : public PromptTest {
  protected:
    void SetUp() override {
        PromptTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "tessaro-unit-project-names";
        CreateDirectoryA(folder_.c_str(), nullptr);
        taken_ = folder_ + "\\Taken.vqp";
        HANDLE file = CreateFileA(taken_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
        base::CopyText(g_board.programFolder, kPathSize, folder_.c_str());
        SetCurrent(folder_ + "\\SAMPLE.VQP");
    }
    void TearDown() override {
        DeleteFileA(taken_.c_str());
        RemoveDirectoryA(folder_.c_str());
        g_board.programFolder[0] = '\0';
        g_board.currentPath[0] = '\0';
        PromptTest::TearDown();
    }
    void SetCurrent(const std::string& path) {
        base::CopyText(g_board.currentPath, kPathSize, path.c_str());
    }

    std::string folder_;
    std::string taken_;
};

const char kNewPrompt[] = "Create a new 31 button group of clipboard text messages.";
const char kSaveAsPrompt[] = "Save this 31 button group of clipboard text messages as:";

TEST_F(ProjectNamePromptTest, BothModesShowTheirTextsAndSuggestTheCurrentName) {
    g_replies = {Apply("Fresh"), Apply("Second.old")};
    EXPECT_EQ(1, AskProjectFileName("Name of New Tessaro Project", NameMode::kNew));
    EXPECT_EQ(folder_ + "\\Fresh.vqp", g_board.currentPath);
    EXPECT_EQ(1, AskProjectFileName("Save Current Tessaro Project As", NameMode::kSaveAs));
    EXPECT_EQ(folder_ + "\\Second.vqp", g_board.currentPath);
    ASSERT_EQ(2u, g_prompts.size());
    EXPECT_EQ("Name of New Tessaro Project", g_prompts[0].caption);
    EXPECT_EQ(kNewPrompt, g_prompts[0].prompt);
    EXPECT_EQ("SAMPLE", g_prompts[0].suggestion);
    EXPECT_EQ("Save Current Tessaro Project As", g_prompts[1].caption);
    EXPECT_EQ(kSaveAsPrompt, g_prompts[1].prompt);
    EXPECT_EQ("Fresh", g_prompts[1].suggestion);
    EXPECT_TRUE(g_boxes.empty());
    // Only the name is decided here; the file comes with the save.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(g_board.currentPath));
}

TEST_F(ProjectNamePromptTest, NoCurrentProjectSuggestsNothing) {
    SetCurrent("");
    g_replies = {Escape("x")};
    EXPECT_EQ(0, AskProjectFileName("Save Current Tessaro Project As", NameMode::kSaveAs));
    ASSERT_EQ(1u, g_prompts.size());
    EXPECT_EQ("", g_prompts[0].suggestion);
    EXPECT_STREQ("", g_board.currentPath);
}

TEST_F(ProjectNamePromptTest, UnusableNamesAreRefusedAndAskedAgainWithTheCurrentName) {
    const std::string tooLong(255 - folder_.size(), 'n'); // joined, 260 characters
    g_replies = {Apply("???"), Apply("con"), Apply("Lpt7.txt"), Apply(tooLong), CloseBox()};
    g_boxAnswers = {IDOK, IDOK, IDOK, IDOK};
    EXPECT_EQ(0, AskProjectFileName("Save Current Tessaro Project As", NameMode::kSaveAs));
    ASSERT_EQ(4u, g_boxes.size());
    for (const BoxSeen& box : g_boxes) {
        EXPECT_EQ("Invalid Filename", box.text);
        EXPECT_EQ("Tessaro", box.caption);
        EXPECT_EQ((UINT)MB_ICONERROR, box.type & MB_ICONMASK);
    }
    ASSERT_EQ(5u, g_prompts.size());
    for (const PromptSeen& prompt : g_prompts)
        EXPECT_EQ("SAMPLE", prompt.suggestion);
    EXPECT_EQ(folder_ + "\\SAMPLE.VQP", g_board.currentPath);
}

TEST_F(ProjectNamePromptTest, ALongNameThatStillFitsIsTaken) {
    const std::string fits(255 - 5 - folder_.size(), 'n'); // joined, exactly 255
    g_replies = {Apply(fits)};
    EXPECT_EQ(1, AskProjectFileName("Name of New Tessaro Project", NameMode::kNew));
    EXPECT_EQ(folder_ + "\\" + fits + ".vqp", g_board.currentPath);
    EXPECT_EQ(255u, strlen(g_board.currentPath));
}

TEST_F(ProjectNamePromptTest, AnExistingFileNeedsYesAndNoAsksAgain) {
    g_replies = {Apply("taken"), Apply("Taken")};
    g_boxAnswers = {IDNO, IDYES};
    EXPECT_EQ(1, AskProjectFileName("Save Current Tessaro Project As", NameMode::kSaveAs));
    ASSERT_EQ(2u, g_boxes.size());
    const std::string path = folder_ + "\\taken.vqp";
    EXPECT_EQ("File Exists:\n" + path +
                  "\n\nDo you want to overwrite this [31 button group of clipboard text "
                  "messages] ?",
              g_boxes[0].text);
    EXPECT_EQ("Tessaro", g_boxes[0].caption);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), g_boxes[0].type);
    ASSERT_EQ(2u, g_prompts.size());
    EXPECT_EQ("SAMPLE", g_prompts[1].suggestion); // not what was typed
    EXPECT_EQ(folder_ + "\\Taken.vqp", g_board.currentPath);
}

TEST_F(ProjectNamePromptTest, CancelAfterNoKeepsTheCurrentPath) {
    g_replies = {Apply("Taken"), Escape("")};
    g_boxAnswers = {IDNO};
    EXPECT_EQ(0, AskProjectFileName("Name of New Tessaro Project", NameMode::kNew));
    EXPECT_EQ(folder_ + "\\SAMPLE.VQP", g_board.currentPath);
}

} // namespace
