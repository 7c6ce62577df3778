/* Control styles shared by the dialog templates, so that dialogs stay consistent. */
#pragma once
#include <windows.h>

#define MODAL_DIALOG (DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU)
#define OPTION_BOX (BS_AUTOCHECKBOX | BS_CENTER | BS_VCENTER | WS_GROUP | WS_TABSTOP)
#define SLOT_FIELD                                                                                 \
    (ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_GROUP | WS_TABSTOP)
#define SLOT_BUTTON (BS_PUSHBUTTON | BS_LEFT | WS_GROUP | WS_TABSTOP)
#define MARKER SS_RIGHT | SS_NOTIFY | NOT WS_VISIBLE | WS_GROUP
#define LABEL SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY | NOT WS_VISIBLE | WS_GROUP

/* Where slot s (0-32) stands on the board: three columns of eleven rows. The Rename
   Buttons dialog puts its edit boxes at the same places, over the copy buttons. */
#define SLOT_X(s) (4 + 130 * ((s) / 11))
#define SLOT_Y(s) (18 + 14 * ((s) % 11))

/* Find and Consolidate */
#define RESULT_FIELD (ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP)
#define PROJECT_LIST (LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP)
