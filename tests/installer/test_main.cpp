// The installer's tests run with the installer's names, as vqpsx.exe does.
#include <gtest/gtest.h>

#include "installer/messages.h"
#include "ui/message.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ui::SetProgramNames(installer::kProductName, installer::kProductName);
    return RUN_ALL_TESTS();
}
