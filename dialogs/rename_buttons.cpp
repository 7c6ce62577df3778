#include "dialogs/rename_buttons.h"

// Interim until the Rename Buttons dialog is built.
void RunRenameButtons(HWND) {}
