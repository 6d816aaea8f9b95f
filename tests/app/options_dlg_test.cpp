#include "app/options_dlg.h"
#include "platform/prompter.h"
#include "support/test_doubles.h"

#include "recording_profile.h"
#include "test_names.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// The boxes that have click rules, plus 1012.
const QList<int> kOptionBoxIds = {1001, 1002, 1003, 1004, 1005, 1006, 1011, 1012, 1021};
const QList<int> kConversionIds = {1026, 1027, 1028, 1029};
const QList<int> kRadioIds = {1022, 1023, 1024};

const QString kTypMPattern = QStringLiteral("$Track - $Artist - $Title");
const QString kTypBPattern = QStringLiteral("$Artist-$Title");

template <typename Control>
Control* control(const QDialog& dlg, int id)
{
    return dlg.findChild<Control*>(QString::number(id));
}

QCheckBox* box(const QDialog& dlg, int id)
{
    return control<QCheckBox>(dlg, id);
}

QRadioButton* radio(const QDialog& dlg, int id)
{
    return control<QRadioButton>(dlg, id);
}

QLineEdit* pattern(const QDialog& dlg)
{
    return control<QLineEdit>(dlg, 1025);
}

// A mouse click on the button's indicator, where the user clicks.
void userClick(QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const auto element =
        qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator;
    const QRect indicator = button->style()->subElementRect(element, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

void userClick(const QDialog& dlg, int id)
{
    userClick(dlg.findChild<QAbstractButton*>(QString::number(id)));
}

// The checked boxes among the option boxes, as "1001 1004 ...".
QString checkedBoxes(const QDialog& dlg)
{
    QStringList ids;
    for (int id : kOptionBoxIds) {
        if (box(dlg, id)->isChecked())
            ids << QString::number(id);
    }
    return ids.join(u' ');
}

void setCheckedBoxes(const QDialog& dlg, const QString& checked)
{
    const QStringList ids = checked.split(u' ', Qt::SkipEmptyParts);
    for (int id : kOptionBoxIds)
        box(dlg, id)->setChecked(ids.contains(QString::number(id)));
}

bool conversionsAre(const QDialog& dlg, bool checked, bool enabled)
{
    for (int id : kConversionIds) {
        if (box(dlg, id)->isChecked() != checked || box(dlg, id)->isEnabled() != enabled)
            return false;
    }
    return true;
}

bool radiosEnabled(const QDialog& dlg, bool enabled)
{
    for (int id : kRadioIds) {
        if (radio(dlg, id)->isEnabled() != enabled)
            return false;
    }
    return true;
}

QString storedPattern(platform::Profile& profile)
{
    return QString::fromStdString(profile.getString("ID2DatNam", "not stored"));
}

}  // namespace

namespace {

class OptionsDlgTest : public ::testing::Test {
protected:
    dialogtest::RecordingProfile& profile() { return seam_.profile; }

    void showAndWait(COptionsDlg& dlg)
    {
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }

private:
    dialogtest::ScopedProfile seam_;
};

template <class Row>
class OptionsDlgRows : public OptionsDlgTest, public ::testing::WithParamInterface<Row> {
};

// A click on one box with the boxes checked before, and the boxes checked after.
struct ClickRule {
    const char* name;
    int clicked;
    const char* before;
    const char* after;
};

void PrintTo(const ClickRule& rule, std::ostream* out)
{
    *out << rule.name;
}

class OptionsDlgClickRules : public OptionsDlgRows<ClickRule> {};

struct PatternCharacter {
    const char* name;
    QString character;
};

void PrintTo(const PatternCharacter& row, std::ostream* out)
{
    *out << row.name;
}

class OptionsDlgPatternCut : public OptionsDlgRows<PatternCharacter> {};

enum class CancelWay { Abbrechen, Escape, CloseBox };

void PrintTo(CancelWay way, std::ostream* out)
{
    *out << (way == CancelWay::Abbrechen ? "Abbrechen" : way == CancelWay::Escape ? "Escape" : "close box");
}

class OptionsDlgCancel : public OptionsDlgRows<CancelWay> {};

}  // namespace

TEST_F(OptionsDlgTest, ControlsCarryTheirTexts)
{
    COptionsDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Optionen"));
    const QList<std::pair<int, QString>> texts = {
        {1001, "Frontkill (Wav, Junk, Silence)"},
        {1002, "Copyright-Flags löschen"},
        {1003, "Original-Flags setzen"},
        {1004, "Backkill (Brava, Junk, Silence)"},
        {1005, "ID3-V1-Tag erzeugen"},
        {1006, "ID3-V2-Tag erzeugen"},
        {1011, "kompletter Blockscan, slow ;-("},
        {1012, "Dateiname -> ID3 erzwingen"},
        {1021, "Dateinamen anpassen"},
        {1022, "Typ M"},
        {1023, "Typ B"},
        {1024, "selbstdefiniert"},
        {1026, "Ae statt Ä, ..."},
        {1027, "n statt &&"},
        {1028, "' , . entfernen"},
        {1029, "_ statt Space"},
        {1, "&OK"},
        {2, "A&bbrechen"},
    };
    for (const auto& [id, text] : texts) {
        auto* button = dlg.findChild<QAbstractButton*>(QString::number(id));
        ASSERT_TRUE(button) << id;
        EXPECT_EQ(button->text(), text);
    }
    ASSERT_TRUE(pattern(dlg));

    QStringList groups;
    for (auto* group : dlg.findChildren<QGroupBox*>())
        groups << group->title();
    groups.sort();
    EXPECT_EQ(groups, QStringList({"MP3s umbenennen", "MP3s verändern", "Rückgängig", "Scan-Einstellungen"}));

    QStringList labels;
    for (auto* label : dlg.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Die folgenden Einstellungen beziehen sich auf die automatische Bearbeitung der "
                                "MP3s unabhängig davon, ob nur einzelne oder alle Dateien bearbeitet werden sollen."));
    EXPECT_TRUE(labels.contains("Außerdem gelten diese Einstellungen stets für alles, was der Benutzer nicht "
                                "manuell ändern kann (zum Beispiel: Front/Backkill: löscht vor bzw. hinter der "
                                "eigentlichen Musik alles was nicht gültiger mpeg-Frame ist)."));
    EXPECT_TRUE(labels.contains(
        "($Title $Artist $Album $Year $Genre $Comment $Track, alle anderen Zeichen werden übernommen)"));
}

TEST_F(OptionsDlgTest, FirstStartShowsTheDefaults)
{
    COptionsDlg dlg;
    EXPECT_EQ(checkedBoxes(dlg), QStringLiteral("1001 1002 1003 1004 1005 1006 1011 1021"));
    EXPECT_FALSE(radio(dlg, 1022)->isChecked());
    EXPECT_TRUE(radio(dlg, 1023)->isChecked());
    EXPECT_FALSE(radio(dlg, 1024)->isChecked());
    EXPECT_TRUE(radiosEnabled(dlg, true));
    EXPECT_TRUE(conversionsAre(dlg, true, false));
    EXPECT_FALSE(pattern(dlg)->isEnabled());
    EXPECT_EQ(pattern(dlg)->text(), kTypBPattern);
    EXPECT_TRUE(profile().writes.empty());
}

TEST_F(OptionsDlgTest, OpeningReadsInOrder)
{
    profile().writeInt("TypMBX", 2);
    profile().forget();
    COptionsDlg dlg;
    const std::vector<std::string> expected = {"DelFront",  "DelCopy",  "SetOrig",   "DelBack",  "SetID3",  "SetID3V2",
                                               "ForceGet",  "ChkAll",   "Rename",    "TypMBX",   "CnvUml",  "CnvAmp",
                                               "CnvSonder", "CnvSpace", "ID2DatNam", "KeepOrig", "KeepDays"};
    EXPECT_EQ(profile().reads, expected);
}

TEST_F(OptionsDlgTest, StoredValuesAreShown)
{
    profile().writeInt("DelFront", 5);
    profile().writeInt("DelCopy", 0);
    profile().writeInt("ForceGet", 1);
    profile().writeInt("TypMBX", 2);
    profile().writeInt("CnvUml", 0);
    profile().writeInt("CnvSonder", 0);
    profile().writeString("ID2DatNam", "$Album - $Title");
    COptionsDlg dlg;
    EXPECT_EQ(checkedBoxes(dlg), QStringLiteral("1001 1003 1004 1005 1006 1011 1012 1021"));
    EXPECT_TRUE(radio(dlg, 1024)->isChecked());
    EXPECT_FALSE(radio(dlg, 1023)->isChecked());
    EXPECT_FALSE(box(dlg, 1026)->isChecked());
    EXPECT_TRUE(box(dlg, 1027)->isChecked());
    EXPECT_FALSE(box(dlg, 1028)->isChecked());
    EXPECT_TRUE(box(dlg, 1029)->isChecked());
    for (int id : kConversionIds)
        EXPECT_TRUE(box(dlg, id)->isEnabled());
    EXPECT_TRUE(pattern(dlg)->isEnabled());
    EXPECT_EQ(pattern(dlg)->text(), QStringLiteral("$Album - $Title"));
}

TEST_F(OptionsDlgTest, RenameOffAtOpeningDisablesEverythingBelowIt)
{
    profile().writeInt("Rename", 0);
    profile().writeInt("TypMBX", 2);
    COptionsDlg dlg;
    EXPECT_TRUE(radiosEnabled(dlg, false));
    EXPECT_TRUE(conversionsAre(dlg, true, false));
    EXPECT_FALSE(pattern(dlg)->isEnabled());
}

TEST_F(OptionsDlgTest, UnknownPresetLeavesAllRadiosUnchecked)
{
    profile().writeInt("TypMBX", 7);
    COptionsDlg dlg;
    for (int id : kRadioIds)
        EXPECT_FALSE(radio(dlg, id)->isChecked());
    EXPECT_TRUE(radiosEnabled(dlg, true));
    dlg.accept();
    EXPECT_EQ(profile().getInt("TypMBX", -1), 0);
}

TEST_P(OptionsDlgClickRules, ClickRules)
{
    const ClickRule& rule = GetParam();
    COptionsDlg dlg;
    showAndWait(dlg);
    setCheckedBoxes(dlg, QString::fromUtf8(rule.before));
    userClick(dlg, rule.clicked);
    EXPECT_EQ(checkedBoxes(dlg), QString::fromUtf8(rule.after));
}

INSTANTIATE_TEST_SUITE_P(
    OptionsDlgTest, OptionsDlgClickRules,
    ::testing::Values(ClickRule{"1001 on checks 1004 and 1011", 1001, "", "1001 1004 1011"},
                      ClickRule{"1001 off clears 1002 1003 1006", 1001, "1001 1002 1003 1004 1005 1006 1011 1012",
                                "1004 1005 1011 1012"},
                      ClickRule{"1002 on checks 1001 and 1011 only", 1002, "", "1001 1002 1011"},
                      ClickRule{"1002 off changes nothing else", 1002, "1001 1002 1011", "1001 1011"},
                      ClickRule{"1003 on checks 1001 and 1011 only", 1003, "", "1001 1003 1011"},
                      ClickRule{"1003 off changes nothing else", 1003, "1001 1003 1011", "1001 1011"},
                      ClickRule{"1004 off clears 1005", 1004, "1001 1004 1005", "1001"},
                      ClickRule{"1004 on changes nothing else", 1004, "", "1004"},
                      ClickRule{"1005 on checks 1004", 1005, "", "1004 1005"},
                      ClickRule{"1005 off changes nothing else", 1005, "1004 1005", "1004"},
                      ClickRule{"1006 on checks 1001 only", 1006, "", "1001 1006"},
                      ClickRule{"1006 off changes nothing else", 1006, "1001 1006", "1001"},
                      ClickRule{"1011 off clears 1001 1002 1003, keeps 1006", 1011, "1001 1002 1003 1004 1006 1011",
                                "1004 1006"},
                      ClickRule{"1011 on changes nothing else", 1011, "", "1011"},
                      ClickRule{"1012 on has no rule", 1012, "", "1012"},
                      ClickRule{"1012 off has no rule", 1012, "1001 1012", "1001"}),
    [](const auto& test) { return apptest::testName(test.param.name); });

TEST_F(OptionsDlgTest, RenameOffWithTypBDisablesOnlyTheRadios)
{
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1021);
    EXPECT_FALSE(box(dlg, 1021)->isChecked());
    EXPECT_TRUE(radiosEnabled(dlg, false));
    EXPECT_TRUE(radio(dlg, 1023)->isChecked());
    EXPECT_TRUE(conversionsAre(dlg, true, false));
    EXPECT_FALSE(pattern(dlg)->isEnabled());

    userClick(dlg, 1021);
    EXPECT_TRUE(radiosEnabled(dlg, true));
    EXPECT_TRUE(conversionsAre(dlg, true, false));
    EXPECT_FALSE(pattern(dlg)->isEnabled());
}

TEST_F(OptionsDlgTest, RenameWithSelfDefinedTakesTheFieldsAlong)
{
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1024);
    EXPECT_TRUE(conversionsAre(dlg, true, true));
    EXPECT_TRUE(pattern(dlg)->isEnabled());

    userClick(dlg, 1021);
    EXPECT_TRUE(radiosEnabled(dlg, false));
    EXPECT_TRUE(conversionsAre(dlg, true, false));
    EXPECT_FALSE(pattern(dlg)->isEnabled());

    userClick(dlg, 1021);
    EXPECT_TRUE(radiosEnabled(dlg, true));
    EXPECT_TRUE(conversionsAre(dlg, true, true));
    EXPECT_TRUE(pattern(dlg)->isEnabled());
}

TEST_F(OptionsDlgTest, PresetsSetTheRenamingControls)
{
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1022);
    EXPECT_TRUE(radio(dlg, 1022)->isChecked());
    EXPECT_FALSE(radio(dlg, 1023)->isChecked());
    EXPECT_TRUE(conversionsAre(dlg, false, false));
    EXPECT_FALSE(pattern(dlg)->isEnabled());
    EXPECT_EQ(pattern(dlg)->text(), kTypMPattern);

    // Self-defined starts from what the last preset left.
    userClick(dlg, 1024);
    EXPECT_TRUE(conversionsAre(dlg, false, true));
    EXPECT_TRUE(pattern(dlg)->isEnabled());
    EXPECT_EQ(pattern(dlg)->text(), kTypMPattern);

    userClick(dlg, 1026);
    pattern(dlg)->clear();
    QTest::keyClicks(pattern(dlg), "$Title");
    userClick(dlg, 1023);
    EXPECT_TRUE(conversionsAre(dlg, true, false));
    EXPECT_FALSE(pattern(dlg)->isEnabled());
    EXPECT_EQ(pattern(dlg)->text(), kTypBPattern);
    EXPECT_EQ(checkedBoxes(dlg), QStringLiteral("1001 1002 1003 1004 1005 1006 1011 1021"));
}

TEST_F(OptionsDlgTest, TypMIsStoredAndShownAgain)
{
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1022);
        QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), int(QDialog::Accepted));
    }
    EXPECT_EQ(profile().getInt("TypMBX", -1), 0);
    for (const char* key : {"CnvUml", "CnvAmp", "CnvSonder", "CnvSpace"})
        EXPECT_EQ(profile().getInt(key, -1), 0);
    EXPECT_EQ(storedPattern(profile()), kTypMPattern);

    COptionsDlg again;
    EXPECT_TRUE(radio(again, 1022)->isChecked());
    EXPECT_FALSE(radio(again, 1023)->isChecked());
    EXPECT_TRUE(conversionsAre(again, false, false));
    EXPECT_EQ(pattern(again)->text(), kTypMPattern);
}

TEST_F(OptionsDlgTest, OkWritesEverySettingInOrder)
{
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1012);
    userClick(dlg, 1024);
    userClick(dlg, 1029);
    profile().forget();
    QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);

    const std::vector<std::string> expected = {"DelFront",  "DelCopy",  "SetOrig",   "DelBack",  "SetID3",  "SetID3V2",
                                               "ChkAll",    "ForceGet", "Rename",    "TypMBX",   "CnvUml",  "CnvAmp",
                                               "CnvSonder", "CnvSpace", "ID2DatNam", "KeepOrig", "KeepDays"};
    EXPECT_EQ(profile().writes, expected);
    for (const char* key : {"DelFront", "DelCopy", "SetOrig", "DelBack", "SetID3", "SetID3V2", "ChkAll", "ForceGet",
                            "Rename", "CnvUml", "CnvAmp", "CnvSonder"})
        EXPECT_EQ(profile().getInt(key, -1), 1);
    EXPECT_EQ(profile().getInt("TypMBX", -1), 2);
    EXPECT_EQ(profile().getInt("CnvSpace", -1), 0);
    EXPECT_EQ(storedPattern(profile()), kTypBPattern);
}

TEST_F(OptionsDlgTest, KeepingOriginalsHasAGroupOfItsOwn)
{
    COptionsDlg dlg;
    showAndWait(dlg);
    auto* keep = dlg.findChild<QCheckBox*>("1031");
    auto* days = dlg.findChild<QSpinBox*>("1032");
    ASSERT_TRUE(keep && days);
    EXPECT_TRUE(keep->isChecked());
    EXPECT_EQ(days->value(), 30);
    EXPECT_TRUE(days->isEnabled());
    userClick(dlg, 1031);
    EXPECT_FALSE(days->isEnabled());
    userClick(dlg, 1031);
    days->setValue(7);
    userClick(dlg, 1031);
    QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_EQ(profile().getInt("KeepOrig", -1), 0);
    EXPECT_EQ(profile().getInt("KeepDays", -1), 7);

    COptionsDlg again;
    EXPECT_TRUE(!again.findChild<QCheckBox*>("1031")->isChecked());
    EXPECT_EQ(again.findChild<QSpinBox*>("1032")->value(), 7);
    EXPECT_TRUE(!again.findChild<QSpinBox*>("1032")->isEnabled());
}

TEST_F(OptionsDlgTest, TypedPatternIsCutTo49Characters)
{
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1024);
    pattern(dlg)->clear();
    // Cut where no placeholder is cut in two.
    const QString typed = QStringLiteral("Artist-$Title-").repeated(4);
    EXPECT_EQ(typed.size(), 56);
    QTest::keyClicks(pattern(dlg), typed);
    EXPECT_EQ(pattern(dlg)->text(), typed);
    dlg.accept();
    EXPECT_EQ(storedPattern(profile()), typed.left(49));
}

TEST_F(OptionsDlgTest, APatternThatCannotMakeAPlainNameIsRefusedByName)
{
    profile().writeString("ID2DatNam", "$Album - $Title");
    testsupport::ScriptedPrompter answers;
    platform::Prompter* const previous = platform::installPrompter(&answers);
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1024);
    for (const auto& [typed, message] : std::vector<std::pair<QString, QString>>{
             {QStringLiteral("$Artist/$Title"),
              QStringLiteral("Das Muster '$Artist/$Title' enthält '/': ein Dateiname kann keinen Ordner angeben.")},
             {QStringLiteral("$Artist-$Title $Foo"),
              QStringLiteral("Das Muster '$Artist-$Title $Foo' enthält das unbekannte Wort '$Foo'. Bekannt sind "
                             "$Artist, $Title, $Album, $Genre, $Comment und $Track.")}}) {
        answers.clear();
        pattern(dlg)->setText(typed);
        QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);
        EXPECT_TRUE(dlg.isVisible()) << typed.toStdString();
        EXPECT_EQ(answers.messages(), std::vector<std::string>{message.toStdString()});
        EXPECT_EQ(storedPattern(profile()), QStringLiteral("$Album - $Title")) << "nothing was written";
    }
    pattern(dlg)->setText(QStringLiteral("$Track $ $Title"));
    dlg.accept();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(storedPattern(profile()), QStringLiteral("$Track $ $Title"));
    platform::installPrompter(previous);
}

TEST_P(OptionsDlgPatternCut, CutCountsCharactersAsSeen)
{
    const QString& character = GetParam().character;
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1024);
    pattern(dlg)->selectAll();
    pattern(dlg)->insert(character.repeated(60));
    dlg.accept();
    EXPECT_EQ(storedPattern(profile()), character.repeated(49));
}

INSTANTIATE_TEST_SUITE_P(OptionsDlgTest, OptionsDlgPatternCut,
                         ::testing::Values(PatternCharacter{"umlaut", QStringLiteral("ä")},
                                           PatternCharacter{"beyond 16 bits", QString::fromUcs4(U"\U0001F3B5")},
                                           PatternCharacter{"letter and accent", QStringLiteral("e\u0301")}),
                         [](const auto& test) { return apptest::testName(test.param.name); });

TEST_F(OptionsDlgTest, EmptySelfDefinedPatternIsStoredEmpty)
{
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1024);
    pattern(dlg)->setFocus();
    pattern(dlg)->selectAll();
    QTest::keyClick(pattern(dlg), Qt::Key_Backspace);
    EXPECT_EQ(pattern(dlg)->text(), QString());
    dlg.accept();
    EXPECT_EQ(storedPattern(profile()), QString());
    EXPECT_EQ(profile().getInt("TypMBX", -1), 2);
}

TEST_P(OptionsDlgCancel, CancelWritesNothing)
{
    const CancelWay way = GetParam();
    COptionsDlg dlg;
    showAndWait(dlg);
    userClick(dlg, 1022);
    userClick(dlg, 1011);
    if (way == CancelWay::Abbrechen)
        QTest::mouseClick(dlg.findChild<QPushButton*>("2"), Qt::LeftButton);
    else if (way == CancelWay::Escape)
        QTest::keyClick(&dlg, Qt::Key_Escape);
    else
        dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), int(QDialog::Rejected));
    EXPECT_TRUE(profile().writes.empty());
}

INSTANTIATE_TEST_SUITE_P(OptionsDlgTest, OptionsDlgCancel,
                         ::testing::Values(CancelWay::Abbrechen, CancelWay::Escape, CancelWay::CloseBox),
                         [](const auto& test) {
                             switch (test.param) {
                             case CancelWay::Abbrechen:
                                 return "Abbrechen";
                             case CancelWay::Escape:
                                 return "Escape";
                             case CancelWay::CloseBox:
                                 return "close_box";
                             }
                             return "";
                         });
