#include "app/liedkram_app.h"

#include <gtest/gtest.h>

// Every case runs under the program's own application object (names, icon,
// Qt's German texts) on the offscreen platform: no display is needed or
// wanted.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CLiedkramApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
