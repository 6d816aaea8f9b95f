#include "app/about_dlg.h"

#include "dialog_suites.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace dialogtest {

class AboutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void showsCaptionAndTexts()
    {
        CAboutDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Info über Liedkram"));

        auto* version = dlg.findChild<QLabel*>("version");
        QVERIFY(version);
        const QStringList lines = version->text().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first(), QStringLiteral("Liedkram, Version 1.71"));
        QVERIFY(!lines.last().isEmpty());
        QVERIFY(version->alignment() & Qt::AlignHCenter);

        auto* warning = dlg.findChild<QLabel*>("warning");
        QVERIFY(warning);
        QCOMPARE(warning->text(), QStringLiteral("Be careful!\nThough usage should be save\n"
                                                 "programming is still in progress.\nComments are wellcome!"));
        QCOMPARE(warning->frameShadow(), QFrame::Sunken);
        QVERIFY(warning->alignment() & Qt::AlignHCenter);

        auto* icon = dlg.findChild<QLabel*>("149");
        QVERIFY(icon);
        QVERIFY(!icon->pixmap().isNull());
    }

    void okCloses()
    {
        CAboutDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* ok = dlg.findChild<QPushButton*>("1");
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
};

}  // namespace dialogtest

int runAboutDlgTests(int argc, char** argv)
{
    dialogtest::AboutDlgTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "about_dlg_test.moc"
