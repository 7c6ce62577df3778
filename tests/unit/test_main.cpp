// The board program's tests run with the board program's names, as KESTRUM.EXE does.
#include <gtest/gtest.h>

#include "board/board.h"
#include "ui/message.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ui::SetProgramNames(kProductName, kProductName);
    return RUN_ALL_TESTS();
}
