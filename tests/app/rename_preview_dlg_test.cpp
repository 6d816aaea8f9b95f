#include "app/rename_preview_dlg.h"

#include "app/qt_prompter.h"
#include "edit_fixture.h"
#include "platform/prompter.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using edittest::ScriptedUser;
using platform::RenameProposal;
using Mark = RenameProposal::Mark;

namespace {

RenameProposal proposal(std::size_t index, const char* oldName, const char* newName, Mark mark,
                        const char* missing = "")
{
    RenameProposal made;
    made.index = index;
    made.oldName = oldName;
    made.newName = newName;
    made.mark = mark;
    made.missing = missing;
    made.ticked = mark == Mark::Offered;
    return made;
}

std::vector<RenameProposal> fourProposals()
{
    return {proposal(0, "a.mp3", "Band-One.mp3", Mark::Offered), proposal(1, "b.mp3", "Band-One.mp3", Mark::Taken),
            proposal(2, "c.mp3", "-Two.mp3", Mark::MissingField, "$Artist"),
            proposal(3, "d.mp3", "Band-Three.mp3", Mark::Offered)};
}

QDialog* waitingPreview()
{
    auto* dialog = qobject_cast<RenamePreviewDlg*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

QPushButton* button(const QDialog& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Shows the proposals through the desktop prompter while the user acts.
platform::Answer review(std::vector<RenameProposal>& proposals, ScriptedUser::Step step)
{
    QtPrompter prompter([] { return nullptr; });
    ScriptedUser user(waitingPreview, {std::move(step)});
    const platform::Answer answer = prompter.reviewRenames(proposals);
    EXPECT_EQ(user.stepsLeft(), 0u);
    return answer;
}

}  // namespace

TEST(RenamePreviewDlgTest, ListsEveryNameWithTicksAndMarksWhatCannotBeGiven)
{
    std::vector<RenameProposal> proposals = fourProposals();
    QStringList rows;
    std::vector<bool> checkable;
    const platform::Answer answer = review(proposals, [&](QDialog& d) {
        const QTreeWidget* list = static_cast<RenamePreviewDlg&>(d).list();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(item->text(0), item->text(1), item->text(2),
                             item->checkState(0) == Qt::Checked ? "x" : " ");
            checkable.push_back((item->flags() & Qt::ItemIsUserCheckable) && (item->flags() & Qt::ItemIsEnabled));
        }
        EXPECT_EQ(d.windowTitle(), "Umbenennen");
        EXPECT_TRUE(button(d, "rename")->isDefault());
        EXPECT_EQ(button(d, "rename")->text(), "&Umbenennen");
        EXPECT_EQ(button(d, "keep")->text(), "&Nicht umbenennen");
        EXPECT_EQ(button(d, "cancel")->text(), "&Abbrechen");
        QTest::mouseClick(button(d, "rename"), Qt::LeftButton);
    });

    EXPECT_EQ(rows, QStringList({"a.mp3|Band-One.mp3||x", "b.mp3|Band-One.mp3|Name schon vergeben| ",
                                 "c.mp3|c.mp3|$Artist ist leer: der Name bleibt| ", "d.mp3|Band-Three.mp3||x"}));
    EXPECT_EQ(checkable, std::vector<bool>({true, false, false, true}));
    EXPECT_EQ(answer, platform::Answer::Yes);
}

TEST(RenamePreviewDlgTest, AnUntickedNameIsPassedBackAndEachButtonGivesItsAnswer)
{
    std::vector<RenameProposal> proposals = fourProposals();
    const platform::Answer answer = review(proposals, [](QDialog& d) {
        QTreeWidget* list = static_cast<RenamePreviewDlg&>(d).list();
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(3));
        QTest::keyClick(list, Qt::Key_Space);
        QTest::mouseClick(button(d, "rename"), Qt::LeftButton);
    });
    EXPECT_EQ(answer, platform::Answer::Yes);
    std::vector<bool> ticks;
    for (const auto& p : proposals)
        ticks.push_back(p.ticked);
    EXPECT_EQ(ticks, std::vector<bool>({true, false, false, false}));

    const std::vector<std::pair<std::function<void(QDialog&)>, platform::Answer>> endings = {
        {[](QDialog& d) { QTest::mouseClick(button(d, "keep"), Qt::LeftButton); }, platform::Answer::No},
        {[](QDialog& d) { QTest::mouseClick(button(d, "cancel"), Qt::LeftButton); }, platform::Answer::Cancel},
        {[](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, platform::Answer::Cancel},
        {[](QDialog& d) { d.close(); }, platform::Answer::Cancel},
        {[](QDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }, platform::Answer::Yes},
    };
    for (const auto& [ending, expected] : endings) {
        proposals = fourProposals();
        EXPECT_EQ(review(proposals, ending), expected);
    }
}
