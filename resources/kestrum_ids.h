/* Resource, control and command ids of the board program (KESTRUM.EXE).
   Shared by the resource scripts, the code and the tests; the numbers are part of the
   program's interfaces (the installer posts commands, tests drive controls by id). */
#pragma once

/* Static controls that nothing refers to */
#define IDC_STATIC (-1)

/* Icons and bitmaps */
#define IDI_BOARD 128
#define IDI_TRAY 139
#define IDBMP_SPLASH 144

/* Menus */
#define IDR_BOARD_MENU 129
#define IDR_RENAME_MENU 130
#define IDR_CONTEXT_MENU 131
#define IDR_TRAY_MENU 132

/* Dialog templates */
#define IDD_BOARD 200
#define IDD_RENAME_BUTTONS 201
#define IDD_EDIT_TEXT 202
#define IDD_ABOUT 203
#define IDD_HELP 205
#define IDD_CONSOLIDATE 208
#define IDD_PROMPT 209
#define IDD_FIND 210
#define IDD_SPLASH 211
#define IDD_INSTALLED 213

/* Board window */
#define IDB_DUMMY 1000
#define IDX_MIN_ON_COPY 1001
#define IDX_TOPMOST 1002
#define IDC_PROJECTS 1003
#define IDT_MARKER_FIRST 1004 /* 1004 + position, 33 of them */
#define IDT_LABEL_FIRST 1037  /* 1037 + slot, 33 of them */
#define IDB_COPY_FIRST 1070   /* 1070 + 2 * slot */
#define IDE_FIELD_FIRST 1071  /* 1071 + 2 * slot */
#define IDB_COPY_LAST 1134
#define IDE_FIELD_LAST 1135

/* Rename Buttons dialog (its edit boxes reuse the field ids) */
#define IDB_RENAME_OK 1136
#define IDB_RENAME_CANCEL 1137

/* Edit Text Field dialog */
#define IDB_EDIT_OK 1138
#define IDB_EDIT_CANCEL 1139
#define IDE_EDIT_TEXT 1140

/* Help dialog and About box */
#define IDB_HELP_DONE 1141
#define IDE_HELP_TEXT 1142
#define IDT_ABOUT_VERSION 1143

/* Consolidate Projects dialog */
#define IDL_ALL_PROJECTS 1158
#define IDB_CONSOLIDATE_ADD 1159
#define IDB_CONSOLIDATE_REMOVE 1160
#define IDL_CONSOLIDATE 1161
#define IDB_CONSOLIDATE_OK 1162
#define IDB_CONSOLIDATE_CANCEL 1163
#define IDB_CONSOLIDATE_HELP 1164
#define IDT_CONSOLIDATE_REMAINING 1165 /* slots still to be placed */
#define IDT_CONSOLIDATE_EXAMINED 1166  /* slots examined so far */

/* Prompt dialog */
#define IDT_PROMPT 1167
#define IDE_PROMPT 1168

/* Find in Projects dialog */
#define IDE_FIND_WHAT 1170
#define IDG_FIND_SCOPE 1171
#define IDX_FIND_ALL_PROJECTS 1172
#define IDX_FIND_CURRENT_PROJECT 1173
#define IDG_FIND_TARGET 1174
#define IDX_FIND_BOTH 1175
#define IDX_FIND_TEXTS 1176
#define IDX_FIND_BUTTONS 1177
#define IDX_FIND_MATCH_CASE 1178
#define IDB_FIND_COPY_CLOSE 1179
#define IDB_FIND_JUST_CLOSE 1180
#define IDB_FIND_FIRST 1181
#define IDB_FIND_NEXT 1182
#define IDG_FIND_RESULTS 1183
#define IDE_FIND_PROJECT 1185
#define IDE_FIND_BUTTON_NAME 1187
#define IDE_FIND_BUTTON_NUMBER 1189
#define IDB_FIND_COPY 1190
#define IDE_FIND_TEXT 1192

/* Installed message box */
#define IDT_INSTALLED_TEXT 1197
#define IDB_INSTALLED_OK 1198

/* Commands: main menu */
#define IDM_NEW_PROJECT 32771
#define IDM_SAVE_PROJECT 32772
#define IDM_SAVE_PROJECT_AS 32773
#define IDM_DELETE_PROJECT 32774
#define IDM_EXIT 32775
#define IDM_RENAME_BUTTONS 32776
#define IDM_EDIT_TEXT_FIELD 32777
#define IDM_FIND 32778
#define IDM_REPOSITION 32779
#define IDM_CONSOLIDATE 32780
#define IDM_USE_TRAY 32781
#define IDM_HIDE_AT_STARTUP 32782
#define IDM_AUTO_PASTE 32783
#define IDM_HIDE 32784
#define IDM_README 32785
#define IDM_SCREEN_TIPS 32786
#define IDM_WEB_SITE 32787
#define IDM_FAQ 32788
#define IDM_EMAIL 32789
#define IDM_PHONE 32790
#define IDM_HELP_OVERVIEW 32791
#define IDM_ABOUT 32809
#define IDM_RENAME_HELP 32810

/* Commands: the Help menu's topics, in menu order */
#define IDM_TOPIC_MIN_ON_COPY 32792
#define IDM_TOPIC_TOPMOST 32793
#define IDM_TOPIC_CHANGE_PROJECT 32794
#define IDM_TOPIC_RENAME_ONE 32795
#define IDM_TOPIC_NEW_PROJECT 32796
#define IDM_TOPIC_OPEN_PROJECT 32797
#define IDM_TOPIC_SAVE_PROJECT 32798
#define IDM_TOPIC_SAVE_AS 32799
#define IDM_TOPIC_EXIT 32800
#define IDM_TOPIC_RENAME_BUTTONS 32801
#define IDM_TOPIC_EDIT_TEXT_FIELD 32802
#define IDM_TOPIC_FIND 32803
#define IDM_TOPIC_REPOSITION 32804
#define IDM_TOPIC_CONSOLIDATE 32805
#define IDM_TOPIC_USE_TRAY 32806
#define IDM_TOPIC_HIDE_AT_STARTUP 32807
#define IDM_TOPIC_AUTO_PASTE 32808
#define IDM_HELP_FIRST_TOPIC IDM_TOPIC_MIN_ON_COPY
#define IDM_HELP_LAST_TOPIC IDM_TOPIC_AUTO_PASTE

/* Commands: posted between windows and programs */
#define IDM_HANDOVER_ASK 32814
#define IDM_HANDOVER_ANSWER 32815
#define IDM_CONTEXT_REQUEST 32816
#define IDM_RENAME_ONE 32817
#define IDM_EDIT_FROM_CONTEXT 32818
#define IDM_EXIT_FROM_TRAY 32819
#define IDM_CLOSE_REQUEST 65000

/* The notification-area icon's callback message (WM_APP + 100) */
#define WM_TRAY_CALLBACK 32868

#ifndef RC_INVOKED
inline int CopyButtonId(int slot) {
    return IDB_COPY_FIRST + 2 * slot;
}
inline int FieldId(int slot) {
    return IDE_FIELD_FIRST + 2 * slot;
}
inline int MarkerId(int position) {
    return IDT_MARKER_FIRST + position;
}
inline int LabelId(int slot) {
    return IDT_LABEL_FIRST + slot;
}
#endif
