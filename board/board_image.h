// Moving the board image into and out of the board window's 66 slot controls.
#pragma once

// Fills the board image from the copy-button captions and the fields (cut to the widths).
void GatherBoard();
// Shows the board image in the copy buttons and fields; all 33 slots are written.
void ScatterBoard();
