// The one-line prompt for project names and button names.
#pragma once
#include <cstddef>

// Shows the prompt with title as its caption, the formatted text and the answer as
// suggestion. Returns 1 when the user applied and an answer buffer was given (the answer
// is then cut to answerSize - 1), 0 otherwise with the buffer unchanged.
int PromptForText(const char* title, char* answer, size_t answerSize, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
