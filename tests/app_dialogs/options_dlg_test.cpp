#include "app/options_dlg.h"

#include "dialog_suites.h"
#include "recording_profile.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

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
    const auto element = qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonIndicator
                                                             : QStyle::SE_CheckBoxIndicator;
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

namespace dialogtest {

class OptionsDlgTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<dialogtest::ScopedProfile> seam_;
    dialogtest::RecordingProfile& profile() { return seam_->profile; }

    void showAndWait(COptionsDlg& dlg)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    }

private slots:
    void init() { seam_ = std::make_unique<dialogtest::ScopedProfile>(); }
    void cleanup() { seam_.reset(); }

    void controlsCarryTheirTexts()
    {
        COptionsDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Optionen"));
        const QList<std::pair<int, QString>> texts = {
            {1001, "Frontkill (Wav, Junk, Silence)"}, {1002, "Copyright-Flags löschen"},
            {1003, "Original-Flags setzen"},          {1004, "Backkill (Brava, Junk, Silence)"},
            {1005, "ID3-V1-Tag erzeugen"},            {1006, "ID3-V2-Tag erzeugen"},
            {1011, "kompletter Blockscan, slow ;-("}, {1012, "Dateiname -> ID3 erzwingen"},
            {1021, "Dateinamen anpassen"},            {1022, "Typ M"},
            {1023, "Typ B"},                          {1024, "selbstdefiniert"},
            {1026, "Ae statt Ä, ..."},                {1027, "n statt &&"},
            {1028, "' , . entfernen"},                {1029, "_ statt Space"},
            {1, "&OK"},                               {2, "A&bbrechen"},
        };
        for (const auto& [id, text] : texts) {
            auto* button = dlg.findChild<QAbstractButton*>(QString::number(id));
            QVERIFY2(button, qPrintable(QString::number(id)));
            QCOMPARE(button->text(), text);
        }
        QVERIFY(pattern(dlg));

        QStringList groups;
        for (auto* group : dlg.findChildren<QGroupBox*>())
            groups << group->title();
        groups.sort();
        QCOMPARE(groups, QStringList({"MP3s umbenennen", "MP3s verändern", "Rückgängig", "Scan-Einstellungen"}));

        QStringList labels;
        for (auto* label : dlg.findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains("Die folgenden Einstellungen beziehen sich auf die automatische Bearbeitung der "
                                "MP3s unabhängig davon, ob nur einzelne oder alle Dateien bearbeitet werden sollen."));
        QVERIFY(labels.contains("Außerdem gelten diese Einstellungen stets für alles, was der Benutzer nicht "
                                "manuell ändern kann (zum Beispiel: Front/Backkill: löscht vor bzw. hinter der "
                                "eigentlichen Musik alles was nicht gültiger mpeg-Frame ist)."));
        QVERIFY(labels.contains(
            "($Title $Artist $Album $Year $Genre $Comment $Track, alle anderen Zeichen werden übernommen)"));
    }

    void firstStartShowsTheDefaults()
    {
        COptionsDlg dlg;
        QCOMPARE(checkedBoxes(dlg), QStringLiteral("1001 1002 1003 1004 1005 1006 1011 1021"));
        QVERIFY(!radio(dlg, 1022)->isChecked());
        QVERIFY(radio(dlg, 1023)->isChecked());
        QVERIFY(!radio(dlg, 1024)->isChecked());
        QVERIFY(radiosEnabled(dlg, true));
        QVERIFY(conversionsAre(dlg, true, false));
        QVERIFY(!pattern(dlg)->isEnabled());
        QCOMPARE(pattern(dlg)->text(), kTypBPattern);
        QVERIFY(profile().writes.empty());
    }

    void openingReadsInOrder()
    {
        profile().writeInt("TypMBX", 2);
        profile().forget();
        COptionsDlg dlg;
        const std::vector<std::string> expected = {"DelFront", "DelCopy",  "SetOrig",   "DelBack",  "SetID3",
                                                   "SetID3V2", "ForceGet", "ChkAll",    "Rename",   "TypMBX",
                                                   "CnvUml",   "CnvAmp",   "CnvSonder", "CnvSpace", "ID2DatNam",
                                                   "KeepOrig", "KeepDays"};
        QCOMPARE(profile().reads, expected);
    }

    void storedValuesAreShown()
    {
        profile().writeInt("DelFront", 5);
        profile().writeInt("DelCopy", 0);
        profile().writeInt("ForceGet", 1);
        profile().writeInt("TypMBX", 2);
        profile().writeInt("CnvUml", 0);
        profile().writeInt("CnvSonder", 0);
        profile().writeString("ID2DatNam", "$Album - $Title");
        COptionsDlg dlg;
        QCOMPARE(checkedBoxes(dlg), QStringLiteral("1001 1003 1004 1005 1006 1011 1012 1021"));
        QVERIFY(radio(dlg, 1024)->isChecked());
        QVERIFY(!radio(dlg, 1023)->isChecked());
        QVERIFY(!box(dlg, 1026)->isChecked());
        QVERIFY(box(dlg, 1027)->isChecked());
        QVERIFY(!box(dlg, 1028)->isChecked());
        QVERIFY(box(dlg, 1029)->isChecked());
        for (int id : kConversionIds)
            QVERIFY(box(dlg, id)->isEnabled());
        QVERIFY(pattern(dlg)->isEnabled());
        QCOMPARE(pattern(dlg)->text(), QStringLiteral("$Album - $Title"));
    }

    void renameOffAtOpeningDisablesEverythingBelowIt()
    {
        profile().writeInt("Rename", 0);
        profile().writeInt("TypMBX", 2);
        COptionsDlg dlg;
        QVERIFY(radiosEnabled(dlg, false));
        QVERIFY(conversionsAre(dlg, true, false));
        QVERIFY(!pattern(dlg)->isEnabled());
    }

    void unknownPresetLeavesAllRadiosUnchecked()
    {
        profile().writeInt("TypMBX", 7);
        COptionsDlg dlg;
        for (int id : kRadioIds)
            QVERIFY(!radio(dlg, id)->isChecked());
        QVERIFY(radiosEnabled(dlg, true));
        dlg.accept();
        QCOMPARE(profile().getInt("TypMBX", -1), 0);
    }

    void clickRules_data()
    {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");

        QTest::newRow("1001 on checks 1004 and 1011") << 1001 << "" << "1001 1004 1011";
        QTest::newRow("1001 off clears 1002 1003 1006")
            << 1001 << "1001 1002 1003 1004 1005 1006 1011 1012" << "1004 1005 1011 1012";
        QTest::newRow("1002 on checks 1001 and 1011 only") << 1002 << "" << "1001 1002 1011";
        QTest::newRow("1002 off changes nothing else") << 1002 << "1001 1002 1011" << "1001 1011";
        QTest::newRow("1003 on checks 1001 and 1011 only") << 1003 << "" << "1001 1003 1011";
        QTest::newRow("1003 off changes nothing else") << 1003 << "1001 1003 1011" << "1001 1011";
        QTest::newRow("1004 off clears 1005") << 1004 << "1001 1004 1005" << "1001";
        QTest::newRow("1004 on changes nothing else") << 1004 << "" << "1004";
        QTest::newRow("1005 on checks 1004") << 1005 << "" << "1004 1005";
        QTest::newRow("1005 off changes nothing else") << 1005 << "1004 1005" << "1004";
        QTest::newRow("1006 on checks 1001 only") << 1006 << "" << "1001 1006";
        QTest::newRow("1006 off changes nothing else") << 1006 << "1001 1006" << "1001";
        QTest::newRow("1011 off clears 1001 1002 1003, keeps 1006")
            << 1011 << "1001 1002 1003 1004 1006 1011" << "1004 1006";
        QTest::newRow("1011 on changes nothing else") << 1011 << "" << "1011";
        QTest::newRow("1012 on has no rule") << 1012 << "" << "1012";
        QTest::newRow("1012 off has no rule") << 1012 << "1001 1012" << "1001";
    }

    void clickRules()
    {
        QFETCH(int, clicked);
        QFETCH(QString, before);
        QFETCH(QString, after);
        COptionsDlg dlg;
        showAndWait(dlg);
        setCheckedBoxes(dlg, before);
        userClick(dlg, clicked);
        QCOMPARE(checkedBoxes(dlg), after);
    }

    void renameOffWithTypBDisablesOnlyTheRadios()
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1021);
        QVERIFY(!box(dlg, 1021)->isChecked());
        QVERIFY(radiosEnabled(dlg, false));
        QVERIFY(radio(dlg, 1023)->isChecked());
        QVERIFY(conversionsAre(dlg, true, false));
        QVERIFY(!pattern(dlg)->isEnabled());

        userClick(dlg, 1021);
        QVERIFY(radiosEnabled(dlg, true));
        QVERIFY(conversionsAre(dlg, true, false));
        QVERIFY(!pattern(dlg)->isEnabled());
    }

    void renameWithSelfDefinedTakesTheFieldsAlong()
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1024);
        QVERIFY(conversionsAre(dlg, true, true));
        QVERIFY(pattern(dlg)->isEnabled());

        userClick(dlg, 1021);
        QVERIFY(radiosEnabled(dlg, false));
        QVERIFY(conversionsAre(dlg, true, false));
        QVERIFY(!pattern(dlg)->isEnabled());

        userClick(dlg, 1021);
        QVERIFY(radiosEnabled(dlg, true));
        QVERIFY(conversionsAre(dlg, true, true));
        QVERIFY(pattern(dlg)->isEnabled());
    }

    void presetsSetTheRenamingControls()
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1022);
        QVERIFY(radio(dlg, 1022)->isChecked());
        QVERIFY(!radio(dlg, 1023)->isChecked());
        QVERIFY(conversionsAre(dlg, false, false));
        QVERIFY(!pattern(dlg)->isEnabled());
        QCOMPARE(pattern(dlg)->text(), kTypMPattern);

        // Self-defined starts from what the last preset left.
        userClick(dlg, 1024);
        QVERIFY(conversionsAre(dlg, false, true));
        QVERIFY(pattern(dlg)->isEnabled());
        QCOMPARE(pattern(dlg)->text(), kTypMPattern);

        userClick(dlg, 1026);
        pattern(dlg)->clear();
        QTest::keyClicks(pattern(dlg), "$Title");
        userClick(dlg, 1023);
        QVERIFY(conversionsAre(dlg, true, false));
        QVERIFY(!pattern(dlg)->isEnabled());
        QCOMPARE(pattern(dlg)->text(), kTypBPattern);
        QCOMPARE(checkedBoxes(dlg), QStringLiteral("1001 1002 1003 1004 1005 1006 1011 1021"));
    }

    void typMIsStoredAndShownAgain()
    {
        {
            COptionsDlg dlg;
            showAndWait(dlg);
            userClick(dlg, 1022);
            QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
        }
        QCOMPARE(profile().getInt("TypMBX", -1), 0);
        for (const char* key : {"CnvUml", "CnvAmp", "CnvSonder", "CnvSpace"})
            QCOMPARE(profile().getInt(key, -1), 0);
        QCOMPARE(storedPattern(profile()), kTypMPattern);

        COptionsDlg again;
        QVERIFY(radio(again, 1022)->isChecked());
        QVERIFY(!radio(again, 1023)->isChecked());
        QVERIFY(conversionsAre(again, false, false));
        QCOMPARE(pattern(again)->text(), kTypMPattern);
    }

    void okWritesEverySettingInOrder()
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1012);
        userClick(dlg, 1024);
        userClick(dlg, 1029);
        profile().forget();
        QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);

        const std::vector<std::string> expected = {"DelFront", "DelCopy",  "SetOrig",   "DelBack",   "SetID3",
                                                   "SetID3V2", "ChkAll",   "ForceGet",  "Rename",    "TypMBX",
                                                   "CnvUml",   "CnvAmp",   "CnvSonder", "CnvSpace",  "ID2DatNam",
                                                   "KeepOrig", "KeepDays"};
        QCOMPARE(profile().writes, expected);
        for (const char* key : {"DelFront", "DelCopy", "SetOrig", "DelBack", "SetID3", "SetID3V2", "ChkAll",
                                "ForceGet", "Rename", "CnvUml", "CnvAmp", "CnvSonder"})
            QCOMPARE(profile().getInt(key, -1), 1);
        QCOMPARE(profile().getInt("TypMBX", -1), 2);
        QCOMPARE(profile().getInt("CnvSpace", -1), 0);
        QCOMPARE(storedPattern(profile()), kTypBPattern);
    }

    void keepingOriginalsHasAGroupOfItsOwn()
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        auto* keep = dlg.findChild<QCheckBox*>("1031");
        auto* days = dlg.findChild<QSpinBox*>("1032");
        QVERIFY(keep && days);
        QVERIFY(keep->isChecked());
        QCOMPARE(days->value(), 30);
        QVERIFY(days->isEnabled());
        userClick(dlg, 1031);
        QVERIFY(!days->isEnabled());
        userClick(dlg, 1031);
        days->setValue(7);
        userClick(dlg, 1031);
        QTest::mouseClick(dlg.findChild<QPushButton*>("1"), Qt::LeftButton);
        QCOMPARE(profile().getInt("KeepOrig", -1), 0);
        QCOMPARE(profile().getInt("KeepDays", -1), 7);

        COptionsDlg again;
        QVERIFY(!again.findChild<QCheckBox*>("1031")->isChecked());
        QCOMPARE(again.findChild<QSpinBox*>("1032")->value(), 7);
        QVERIFY(!again.findChild<QSpinBox*>("1032")->isEnabled());
    }

    void typedPatternIsCutTo49Characters()
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1024);
        pattern(dlg)->clear();
        const QString typed = QStringLiteral("$Artist-$Title-").repeated(4);
        QCOMPARE(typed.size(), 60);
        QTest::keyClicks(pattern(dlg), typed);
        QCOMPARE(pattern(dlg)->text(), typed);
        dlg.accept();
        QCOMPARE(storedPattern(profile()), typed.left(49));
    }

    void cutCountsCharactersAsSeen_data()
    {
        QTest::addColumn<QString>("character");
        QTest::newRow("umlaut") << QStringLiteral("ä");
        QTest::newRow("beyond 16 bits") << QString::fromUcs4(U"\U0001F3B5");
        QTest::newRow("letter and accent") << QStringLiteral("e\u0301");
    }

    void cutCountsCharactersAsSeen()
    {
        QFETCH(QString, character);
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1024);
        pattern(dlg)->selectAll();
        pattern(dlg)->insert(character.repeated(60));
        dlg.accept();
        QCOMPARE(storedPattern(profile()), character.repeated(49));
    }

    void emptySelfDefinedPatternIsStoredEmpty()
    {
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1024);
        pattern(dlg)->setFocus();
        pattern(dlg)->selectAll();
        QTest::keyClick(pattern(dlg), Qt::Key_Backspace);
        QCOMPARE(pattern(dlg)->text(), QString());
        dlg.accept();
        QCOMPARE(storedPattern(profile()), QString());
        QCOMPARE(profile().getInt("TypMBX", -1), 2);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Abbrechen") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }

    void cancelWritesNothing()
    {
        QFETCH(int, way);
        COptionsDlg dlg;
        showAndWait(dlg);
        userClick(dlg, 1022);
        userClick(dlg, 1011);
        if (way == 0)
            QTest::mouseClick(dlg.findChild<QPushButton*>("2"), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            dlg.close();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(profile().writes.empty());
    }
};

}  // namespace dialogtest

int runOptionsDlgTests(int argc, char** argv)
{
    dialogtest::OptionsDlgTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "options_dlg_test.moc"
