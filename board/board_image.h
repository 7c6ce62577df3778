// Moving the board image into and out of the board window's 66 slot controls.
#pragma once

// Fills the board image from the copy-button captions and the fields (cut to the widths).
void GatherBoard();
// Shows the board image in the copy buttons and fields; all 33 slots are written.
void ScatterBoard();
// Shows the board image, setting only the controls that do not already show exactly their
// name or text: at start the fields are filled ahead while the board waits (see
// FillFieldsAhead), and what was filled right is not set again.
void ScatterBoardChanges();
// Fills the slots [first, end) of the board's controls from the board image.
void ScatterSlots(int first, int end);
