#include "store/catalogue.h"

#include "board/board.h"
#include "store/board_image.h"
#include "store/project_file.h"

// Interim: the project operations come with the catalogue; until then closing saves an
// existing current project and the settings.
int FillProjectSelector() { return 0; }
int MakeProjectPath(char*, size_t) { return 0; }
int AskProjectFileName(const char*, int) { return 0; }
int SaveCurrentIfPresent() { return 0; }
int SwitchProject() { return 0; }
int NewProject() { return 0; }
int SaveProject() { return 0; }
int SaveProjectAs() { return 0; }
int DeleteProject() { return 0; }

int SaveOnExit() {
    GatherBoard();
    if (ProjectFileExists(g_board.currentPath))
        WriteProjectFile(g_board.currentPath, g_boardImage, 1);
    SaveSettings();
    return 1;
}
