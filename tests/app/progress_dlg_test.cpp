#include "app/progress_dlg.h"

#include "edit_fixture.h"
#include "platform/prompter.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace edittest;
using Dlg = CProgressDlg;

namespace {

QPushButton* button(const QDialog& dialog, int id)
{
    return dialog.findChild<QPushButton*>(QString::number(id));
}

QProgressBar* bar(const QDialog& dialog)
{
    return dialog.findChild<QProgressBar*>(QString::number(Dlg::IDC_PROGRESS));
}

}  // namespace

class ProgressDlgTest : public EditTest {
protected:
    // Asks the question while the user does what the step says.
    platform::Answer askWith(const ScriptedUser::Step& step)
    {
        ScriptedUser user(waitingQuestion, {step});
        const platform::Answer answer = dialog_.Ask("Umbenennen:\na.mp3 ->\nb.mp3");
        EXPECT_EQ(user.stepsLeft(), 0u);
        EXPECT_EQ(textOf(dialog_, Dlg::IDC_QUESTION), "") << "the field is cleared after the answer";
        return answer;
    }

    Dlg dialog_{&window_};
};

TEST_F(ProgressDlgTest, ShowsItsTexts)
{
    EXPECT_EQ(dialog_.windowTitle(), "AutoEdit-Fortschritt");
    QStringList labels;
    for (const QLabel* label : dialog_.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Fortschritt:"));
    EXPECT_EQ(textOf(dialog_, Dlg::IDC_STEP), "100/134");
    EXPECT_EQ(textOf(dialog_, Dlg::IDC_QUESTION), "");
    EXPECT_NE(dialog_.findChild<QLabel*>(QString::number(Dlg::IDC_QUESTION))->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(button(dialog_, 1053)->text(), "&Ja");
    EXPECT_EQ(button(dialog_, 3)->text(), "&Nein");
    EXPECT_EQ(button(dialog_, 2)->text(), "&Abbrechen");
    EXPECT_TRUE(button(dialog_, 1053)->isDefault());
}

TEST_F(ProgressDlgTest, EachStepCountsOneEntryStarted)
{
    dialog_.Step(1);
    EXPECT_EQ(textOf(dialog_, Dlg::IDC_STEP), "1/1");
    Dlg run{&window_};
    for (int step = 0; step < 3; ++step)
        run.Step(17);
    EXPECT_EQ(textOf(run, Dlg::IDC_STEP), "3/17");
    EXPECT_EQ(bar(run)->minimum(), 1);
    EXPECT_EQ(bar(run)->maximum(), 17);
    EXPECT_EQ(bar(run)->value(), 3);
}

TEST_F(ProgressDlgTest, AskReturnsTheAnswerOfTheButtonOrKey)
{
    dialog_.show();
    const auto seesQuestion = [](QDialog& d) {
        EXPECT_EQ(textOf(d, Dlg::IDC_QUESTION), "Umbenennen:\na.mp3 ->\nb.mp3");
        EXPECT_EQ(QApplication::activeModalWidget(), &d) << "nothing else takes input meanwhile";
    };
    EXPECT_EQ(askWith([&](QDialog& d) {
                  seesQuestion(d);
                  click(d, 1053);
              }),
              platform::Answer::Yes);
    EXPECT_EQ(askWith([&](QDialog& d) {
                  seesQuestion(d);
                  click(d, 3);
              }),
              platform::Answer::No);
    EXPECT_EQ(askWith([&](QDialog& d) {
                  seesQuestion(d);
                  click(d, 2);
              }),
              platform::Answer::Cancel);
    EXPECT_EQ(askWith([](QDialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Return); }), platform::Answer::Yes);
    EXPECT_EQ(askWith([](QDialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Escape); }), platform::Answer::Cancel);
    EXPECT_EQ(askWith([](QDialog& d) { d.close(); }), platform::Answer::Cancel);
    EXPECT_TRUE(dialog_.isVisible()) << "answers do not close the window";
}

TEST_F(ProgressDlgTest, TheMainWindowTakesNoClickWhileTheDialogIsUp)
{
    auto* other = new QPushButton(QStringLiteral("Liste"), &window_);
    other->show();
    int clicks = 0;
    QObject::connect(other, &QPushButton::clicked, [&clicks] { ++clicks; });
    // Through the window system, as a real click comes, so modality applies.
    const auto clickOther = [this, other] {
        QTest::mouseClick(window_.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          other->mapTo(&window_, other->rect().center()));
    };
    clickOther();
    ASSERT_EQ(clicks, 1);

    dialog_.show();
    askWith([&](QDialog& d) {
        clickOther();
        click(d, 1053);
    });
    EXPECT_EQ(clicks, 1);
}

TEST_F(ProgressDlgTest, AbbrechenWhileNoQuestionWaitsIsRemembered)
{
    dialog_.show();
    EXPECT_FALSE(dialog_.pollCancel());
    click(dialog_, 1053);
    click(dialog_, 3);
    EXPECT_FALSE(dialog_.pollCancel()) << "Ja and Nein mean nothing without a question";
    EXPECT_FALSE(dialog_.close());
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_TRUE(dialog_.pollCancel()) << "the close box is Abbrechen";

    Dlg other{&window_};
    other.show();
    click(other, 2);
    EXPECT_TRUE(other.isVisible());
    EXPECT_TRUE(other.pollCancel());
}
