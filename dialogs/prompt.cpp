#include "dialogs/prompt.h"

#include <cstdarg>
#include <cstring>

#include "resources/kestrum_ids.h"
#include "ui/dialog.h"
#include "ui/text.h"
#include "ui/window_stack.h"

namespace {

constexpr size_t kTitleSize = 128;
constexpr size_t kPromptTextSize = 1024;
constexpr size_t kEditSize = 256; // 255 characters of answer

char g_title[kTitleSize] = "";
char g_promptText[kPromptTextSize] = "";
char g_editBuffer[kEditSize] = "";

class PromptDialog : public ui::Dialog {
  public:
    PromptDialog() : ui::Dialog(IDD_PROMPT) {}

  protected:
    BOOL OnInit() override {
        SetWindowTextA(Handle(), g_title);
        SetItemText(IDT_PROMPT, g_promptText);
        SetItemText(IDE_PROMPT, g_editBuffer);
        CentreOnDesktop();
        // Typing replaces the suggestion.
        SetFocusTo(IDE_PROMPT);
        SendMessageA(Item(IDE_PROMPT), EM_SETSEL, 0, -1);
        return FALSE;
    }

    void OnOk() override {
        ItemText(IDE_PROMPT, g_editBuffer, (int)sizeof g_editBuffer);
        EndModal(IDOK);
    }
};

// One object for the whole process; its window exists only while it is shown.
PromptDialog g_prompt;

} // namespace

void SetPromptTitle(const char* title) {
    ui::CopyText(g_title, sizeof g_title, title);
}

int PromptForText(char* answer, size_t answerSize, const char* format, ...) {
    va_list args;
    va_start(args, format);
    ui::FormatTextV(g_promptText, sizeof g_promptText, format, args);
    va_end(args);

    g_editBuffer[0] = '\0';
    if (answer)
        ui::CopyField(g_editBuffer, sizeof g_editBuffer, answer, answerSize);

    if (g_prompt.RunModal(ui::TopWindowHandle()) != IDOK || !answer)
        return 0;
    if (strncmp(g_editBuffer, answer, answerSize) != 0)
        ui::CopyText(answer, answerSize, g_editBuffer);
    return 1;
}
