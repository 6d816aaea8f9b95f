#include "app/about_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(AboutDlgTest, ShowsCaptionAndTexts)
{
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Info über Liedkram"));

    auto* version = dlg.findChild<QLabel*>("version");
    ASSERT_TRUE(version);
    const QStringList lines = version->text().split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.first(), QStringLiteral("Liedkram, Version 1.71"));
    EXPECT_FALSE(lines.last().isEmpty());
    EXPECT_TRUE(version->alignment().testFlag(Qt::AlignHCenter));

    auto* warning = dlg.findChild<QLabel*>("warning");
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->text(), QStringLiteral("Be careful!\nThough usage should be save\n"
                                              "programming is still in progress.\nComments are wellcome!"));
    EXPECT_EQ(warning->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(warning->alignment().testFlag(Qt::AlignHCenter));

    auto* icon = dlg.findChild<QLabel*>("149");
    ASSERT_TRUE(icon);
    EXPECT_FALSE(icon->pixmap().isNull());
}

TEST(AboutDlgTest, OkCloses)
{
    CAboutDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* ok = dlg.findChild<QPushButton*>("1");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), int(QDialog::Accepted));
}
