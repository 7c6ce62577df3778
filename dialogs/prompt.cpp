#include "dialogs/prompt.h"

#include <cstdarg>
#include <cstring>

#include "base/text.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"
#include "ui/window_stack.h"

namespace {

constexpr size_t kPromptTextSize = 1024;
constexpr size_t kEditSize = 256; // 255 characters of answer

class PromptDialog : public ui::Dialog {
  public:
    PromptDialog(const char* title, const char* prompt, char (&edit)[kEditSize])
        : ui::Dialog(IDD_PROMPT), title_(title), prompt_(prompt), edit_(edit) {}

  protected:
    BOOL OnInit() override {
        SetWindowTextA(Handle(), title_);
        SetItemText(IDT_PROMPT, prompt_);
        SetItemText(IDE_PROMPT, edit_);
        CentreOnDesktop();
        // Typing replaces the suggestion.
        SetFocusTo(IDE_PROMPT);
        SendMessageA(Item(IDE_PROMPT), EM_SETSEL, 0, -1);
        return FALSE;
    }

    void OnOk() override {
        ItemText(IDE_PROMPT, edit_, (int)kEditSize);
        End(IDOK);
    }

  private:
    const char* title_;
    const char* prompt_;
    char (&edit_)[kEditSize];
};

} // namespace

int PromptForText(const char* title, char* answer, size_t answerSize, const char* format, ...) {
    char prompt[kPromptTextSize];
    va_list args;
    va_start(args, format);
    base::FormatTextV(prompt, sizeof prompt, format, args);
    va_end(args);

    char edit[kEditSize] = "";
    if (answer)
        base::CopyField(edit, sizeof edit, answer, answerSize);

    PromptDialog dialog(title ? title : "", prompt, edit);
    if (dialog.RunModal(ui::TopWindowHandle()) != IDOK || !answer)
        return 0;
    if (strncmp(edit, answer, answerSize) != 0)
        base::CopyText(answer, answerSize, edit);
    return 1;
}
