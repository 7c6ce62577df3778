#include "ui/message.h"

#include <cstdarg>

#include "base/text.h"
#include "ui/window_stack.h"

namespace ui {

namespace {

constexpr size_t kNameSize = 64;
char g_productName[kNameSize] = "";
char g_messageCaption[kNameSize] = "";
MessageHook g_hook = nullptr;

int Show(const char* caption, UINT type, const char* format, va_list args) {
    char text[2048];
    base::FormatTextV(text, sizeof text, format, args);
    if (g_hook)
        return g_hook(text, caption, type);
    return MessageBoxA(TopWindowHandle(), text, caption, type);
}

} // namespace

void SetProgramNames(const char* productName, const char* messageCaption) {
    base::CopyText(g_productName, sizeof g_productName, productName);
    base::CopyText(g_messageCaption, sizeof g_messageCaption, messageCaption);
}

const char* ProductName() {
    return g_productName;
}

const char* MessageCaption() {
    return g_messageCaption;
}

int ShowMessage(UINT type, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int result = Show(g_messageCaption, type, format, args);
    va_end(args);
    return result;
}

int ShowMessageCaption(const char* caption, UINT type, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int result = Show(caption, type, format, args);
    va_end(args);
    return result;
}

void SetMessageHook(MessageHook hook) {
    g_hook = hook;
}

void ErrorText(DWORD code, char* out, size_t size) {
    char text[512] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' '))
        text[--n] = '\0';
    base::FormatText(out, size, "error %lu%s%s", (unsigned long)code, n ? ": " : "", text);
}

} // namespace ui
