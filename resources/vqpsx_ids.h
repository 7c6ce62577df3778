/* Resource, control and command ids of the installer (vqpsx.exe).
   Shared by the resource script and the code; the numbers are part of the program's
   interfaces (the payload ids are read back by the installer, tests drive controls by id). */
#pragma once

/* Icon and backdrop picture */
#define IDI_INSTALLER 128
#define IDBMP_BACKDROP 129

/* The payload: files the installer writes into the install folder */
#define IDR_PAYLOAD_BOARD 130
#define IDR_PAYLOAD_README 131
#define IDR_PAYLOAD_README_ICON 132
#define IDR_PAYLOAD_UNINSTALL_ICON 133
#define IDR_PAYLOAD_SAMPLE 134

/* Dialog templates */
#define IDD_BACKDROP 200
#define IDD_INSTALL 201
#define IDD_UNINSTALL 202

/* Install dialog */
#define IDT_INSTALL_INTRO 1000
#define IDO_SHORT_PATH 1001 /* the six option buttons, one group */
#define IDO_LOCAL_USER 1002
#define IDO_PROGRAM_FILES 1003
#define IDO_ROAMING_USER 1004
#define IDO_MULTI_USER 1005
#define IDO_UPGRADING 1006
#define IDT_PATH_HEADING 1007
#define IDE_INSTALL_PATH 1008
#define IDT_SOURCE_FILE 1009
#define IDT_DESTINATION_FILE 1010
#define IDT_PROGRESS 1011
#define IDB_EXIT 1012
#define IDB_NEXT 1013

/* Uninstall dialog */
#define IDT_UNINSTALL_WARNING 1014
#define IDB_UNINSTALL_CANCEL 1015
#define IDB_FINISH 1016

/* Commands the backdrop posts to itself once it is visible */
#define IDM_RUN_INSTALL 32771
#define IDM_RUN_UNINSTALL 32772
