// Qt's own dialogs and buttons speak German, whatever the user's locale.

#include "window_fixture.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

using apptest::WindowTest;

TEST_F(WindowTest, StandardButtonsAreGerman)
{
    QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, frame_.get());
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(QLocale().language(), QLocale::German);
}

TEST_F(WindowTest, TheFileDialogIsGerman)
{
    QFileDialog dialog(frame_.get(), QString(), QString::fromStdString(dir_.path()),
                       QStringLiteral("M3L-Dateien (*.m3l)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Datei&name:"))) << labels.join(QLatin1Char('|')).toStdString();
}
