#include "dialogs/prompt.h"

// Interim until the prompt dialog is built: every prompt is cancelled.
void SetPromptTitle(const char*) {}
int PromptForText(char*, size_t, const char*, ...) { return 0; }
