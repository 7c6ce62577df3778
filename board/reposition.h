// Reposition mode: the user clicks the 33 copy buttons in the order in which the slots are
// to stand; after the 33rd click the board shows the project in that order.
#pragma once

// Asks for confirmation, then enters the mode: the project commands are locked, the fields,
// check boxes and selector disabled, and the marker stands at position 1.
void StartReposition();
// A click on a copy button while the mode runs: its slot takes the next position. A slot
// already taken is not taken again.
void RepositionStep(int copyButtonId);
// Whether the board refuses the command because the mode runs, whatever its source (menu,
// shortcut, context menu, another program).
bool RefusedWhileRepositioning(int id);
