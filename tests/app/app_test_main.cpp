#include <QGuiApplication>

#include <gtest/gtest.h>

// The canvas needs a running QGuiApplication for its fonts; no display is
// needed or wanted.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
