/* Templates of the framework tests: the framework knows no program's resources. */
#pragma once

#define IDD_PROBE 100
#define IDD_MODELESS 101
#define IDBMP_PROBE 102

#define IDB_PROBE_DONE 1001
#define IDE_MODELESS_TEXT 1002
