#include "dialogs/edit_text.h"

// Interim until the Edit Text Field dialog is built.
void RunEditTextDialog(HWND) {}
