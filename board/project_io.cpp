#include "board/project_io.h"

#include "board/board.h"
#include "ui/message.h"

int BoardWriteProject(const char* path, const ProjectImage& image, bool updateTitle) {
    const ProjectWriteResult result = WriteProjectFile(path, image);
    if (updateTitle && result != ProjectWriteResult::kNoTemporaryFile)
        SetBoardTitle(path);
    if (result == ProjectWriteResult::kWritten)
        return 1;
    ui::ShowMessage(MB_ICONERROR, "Error saving:\n%s", path);
    return 0;
}

int BoardReadProject(const char* path, ProjectImage& image, bool updateTitle) {
    if (ReadProjectFile(path, image) != ProjectReadResult::kRead)
        return 0;
    if (updateTitle) {
        SetBoardTitle(path);
        SaveSettings();
    }
    return 1;
}
