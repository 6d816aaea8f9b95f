#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("CD_Cover erstellen"));
    QApplication::setApplicationName(QStringLiteral("Liedkram"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
