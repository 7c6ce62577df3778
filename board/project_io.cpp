#include "board/project_io.h"

#include "board/board.h"
#include "ui/message.h"

int BoardWriteProject(const char* path, const ProjectImage& image, bool updateTitle) {
    FileStamp stamp;
    const ProjectWriteResult result = WriteProjectFile(path, image, &stamp);
    if (updateTitle && result != ProjectWriteResult::kNoTemporaryFile &&
        result != ProjectWriteResult::kNotADiskFile)
        SetBoardTitle(path);
    if (result == ProjectWriteResult::kWritten) {
        if (updateTitle) {
            g_board.showsCurrentFile = true;
            g_board.currentStamp = stamp;
        }
        return 1;
    }
    ui::ShowMessage(MB_ICONERROR, "Error saving:\n%s", path);
    return 0;
}

int BoardReadProject(const char* path, ProjectImage& image, bool updateTitle, FileStamp* stamp) {
    FileStamp read;
    const bool ok = ReadProjectFile(path, image, &read) == ProjectReadResult::kRead;
    if (stamp)
        *stamp = read;
    if (!updateTitle)
        return ok ? 1 : 0;
    g_board.showsCurrentFile = ok;
    if (!ok)
        return 0;
    g_board.currentStamp = read;
    SetBoardTitle(path);
    SaveSettings();
    return 1;
}
