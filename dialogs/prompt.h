// The one-line prompt for project names and button names.
#pragma once
#include <cstddef>

// The caption of the next prompt.
void SetPromptTitle(const char* title);
// Shows the prompt with the formatted text and the answer as suggestion. Returns 1 when
// the user applied and an answer buffer was given (the answer is then cut to size - 1),
// 0 otherwise with the buffer unchanged.
int PromptForText(char* answer, size_t answerSize, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
