#include "dialogs/about.h"

// Interim until the About box is built.
void BuildOsDescription() {}
void ShowAbout(HWND) {}
