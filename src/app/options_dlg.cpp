#include "app/options_dlg.h"

#include "autoedit/auto_edit.h"
#include "platform/profile.h"
#include "platform/prompter.h"
#include "platform/setting_rules.h"
#include "platform/settings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

#include <array>

using platform::Setting;

namespace {

// The boxes filled when the dialog opens, in the order they are read.
constexpr std::array kOptionBoxes = {Setting::DelFront, Setting::DelCopy, Setting::SetOrig,
                                     Setting::DelBack,  Setting::SetID3,  Setting::SetID3V2,
                                     Setting::ForceGet, Setting::ChkAll,  Setting::Rename};

constexpr std::array kConversionBoxes = {Setting::CnvUml, Setting::CnvAmp, Setting::CnvSonder, Setting::CnvSpace};

// The boxes with a rule the others follow when the user clicks one.
constexpr std::array kRuleBoxes = {Setting::DelFront, Setting::DelCopy,  Setting::SetOrig, Setting::DelBack,
                                   Setting::SetID3,   Setting::SetID3V2, Setting::ChkAll};

constexpr int kTypM = 0;
constexpr int kTypB = 1;
constexpr int kTypSelf = 2;

// The stored pattern holds what the setting takes; longer text is cut
// between two characters as the user sees them, so none is split.
QString storedPattern(const QString& text)
{
    const auto& info = platform::settingInfo(Setting::ID2DatNam);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype kept = 0;
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary()) {
        if (platform::checkSetting(info, text.left(at).toStdString()) != platform::SettingFit::Fits)
            break;
        kept = at;
    }
    return text.left(kept);
}

QString idName(int id)
{
    return QString::number(id);
}

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

COptionsDlg::COptionsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Optionen"));
    createControls();
    OnInitDialog();
}

void COptionsDlg::createControls()
{
    const auto addBox = [this](int id, const QString& text) {
        auto* checkBox = new QCheckBox(text, this);
        checkBox->setObjectName(idName(id));
        return checkBox;
    };
    const auto addRadio = [this](int id, const QString& text) {
        auto* radioButton = new QRadioButton(text, this);
        radioButton->setObjectName(idName(id));
        return radioButton;
    };

    auto* change = new QGroupBox(QStringLiteral("MP3s verändern"), this);
    auto* changeLayout = new QVBoxLayout(change);
    m_delFront = addBox(IDC_DELFRONT, QStringLiteral("Frontkill (Wav, Junk, Silence)"));
    changeLayout->addWidget(m_delFront);
    m_setID3V2 = addBox(IDC_SETID3V2, QStringLiteral("ID3-V2-Tag erzeugen"));
    changeLayout->addWidget(m_setID3V2);
    m_delCopy = addBox(IDC_DELCOPY, QStringLiteral("Copyright-Flags löschen"));
    changeLayout->addWidget(m_delCopy);
    m_setOrig = addBox(IDC_SETORIG, QStringLiteral("Original-Flags setzen"));
    changeLayout->addWidget(m_setOrig);
    m_delBack = addBox(IDC_DELBACK, QStringLiteral("Backkill (Brava, Junk, Silence)"));
    changeLayout->addWidget(m_delBack);
    m_setID3 = addBox(IDC_SETID3, QStringLiteral("ID3-V1-Tag erzeugen"));
    changeLayout->addWidget(m_setID3);

    auto* scan = new QGroupBox(QStringLiteral("Scan-Einstellungen"), this);
    auto* scanLayout = new QVBoxLayout(scan);
    m_forceGet = addBox(IDC_FORCEGET, QStringLiteral("Dateiname -> ID3 erzwingen"));
    scanLayout->addWidget(m_forceGet);
    m_chkAll = addBox(IDC_CHKALL, QStringLiteral("kompletter Blockscan, slow ;-("));
    scanLayout->addWidget(m_chkAll);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(idName(1));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &COptionsDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("A&bbrechen"), this);
    cancel->setObjectName(idName(2));
    connect(cancel, &QPushButton::clicked, this, &COptionsDlg::reject);

    auto* rename = new QGroupBox(QStringLiteral("MP3s umbenennen"), this);
    auto* renameLayout = new QVBoxLayout(rename);
    m_rename = addBox(IDC_RENAME, QStringLiteral("Dateinamen anpassen"));
    renameLayout->addWidget(m_rename);
    auto* presets = new QHBoxLayout;
    m_typM = addRadio(IDC_TYP_M, QStringLiteral("Typ M"));
    presets->addWidget(m_typM);
    m_typB = addRadio(IDC_TYP_B, QStringLiteral("Typ B"));
    presets->addWidget(m_typB);
    m_typSelf = addRadio(IDC_TYP_SELF, QStringLiteral("selbstdefiniert"));
    presets->addWidget(m_typSelf);
    renameLayout->addLayout(presets);
    m_pattern = new QLineEdit(this);
    m_pattern->setObjectName(idName(IDC_PATTERN));
    renameLayout->addWidget(m_pattern);
    renameLayout->addWidget(wrappedLabel(
        QStringLiteral("($Title $Artist $Album $Year $Genre $Comment $Track, alle anderen Zeichen werden übernommen)"),
        rename));
    auto* conversions = new QGridLayout;
    m_cnvSpace = addBox(IDC_CNVSPACE, QStringLiteral("_ statt Space"));
    conversions->addWidget(m_cnvSpace, 0, 0);
    m_cnvAmp = addBox(IDC_CNVAMP, QStringLiteral("n statt &&"));
    conversions->addWidget(m_cnvAmp, 0, 1);
    m_cnvUml = addBox(IDC_CNVUML, QStringLiteral("Ae statt Ä, ..."));
    conversions->addWidget(m_cnvUml, 1, 0);
    m_cnvSonder = addBox(IDC_CNVSONDER, QStringLiteral("' , . entfernen"));
    conversions->addWidget(m_cnvSonder, 1, 1);
    renameLayout->addLayout(conversions);

    auto* keep = new QGroupBox(QStringLiteral("Rückgängig"), this);
    auto* keepLayout = new QVBoxLayout(keep);
    m_keepOrig = addBox(IDC_KEEPORIG, QStringLiteral("Originale aufbewahren"));
    keepLayout->addWidget(m_keepOrig);
    auto* days = new QHBoxLayout;
    m_keepDays = new QSpinBox(this);
    m_keepDays->setObjectName(idName(IDC_KEEPDAYS));
    const auto& keepDays = platform::settingInfo(Setting::KeepDays);
    m_keepDays->setRange(keepDays.lowest, keepDays.highest);
    auto* daysLabel = new QLabel(QStringLiteral("&Tage lang:"), this);
    daysLabel->setBuddy(m_keepDays);
    days->addWidget(daysLabel);
    days->addWidget(m_keepDays);
    days->addStretch();
    keepLayout->addLayout(days);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(scan);
    rightColumn->addWidget(keep);
    rightColumn->addStretch();
    rightColumn->addWidget(ok);
    rightColumn->addWidget(cancel);

    auto* groups = new QHBoxLayout;
    groups->addWidget(change);
    groups->addLayout(rightColumn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(
        QStringLiteral("Die folgenden Einstellungen beziehen sich auf die automatische Bearbeitung der MP3s "
                       "unabhängig davon, ob nur einzelne oder alle Dateien bearbeitet werden sollen."),
        this));
    layout->addWidget(wrappedLabel(
        QStringLiteral("Außerdem gelten diese Einstellungen stets für alles, was der Benutzer nicht manuell "
                       "ändern kann (zum Beispiel: Front/Backkill: löscht vor bzw. hinter der eigentlichen "
                       "Musik alles was nicht gültiger mpeg-Frame ist)."),
        this));
    layout->addLayout(groups);
    layout->addWidget(rename);

    // clicked() comes from the user only, never from setChecked(), so a box a
    // rule changes does not fire its own rule.
    for (const Setting setting : kRuleBoxes)
        connect(box(setting), &QAbstractButton::clicked, this, [this, setting] { followClick(setting); });
    connectClick(m_rename, &COptionsDlg::OnRename);
    connectClick(m_typM, &COptionsDlg::OnTypM);
    connectClick(m_typB, &COptionsDlg::OnTypB);
    connectClick(m_typSelf, &COptionsDlg::OnTypSelf);
    connectClick(m_keepOrig, &COptionsDlg::OnKeepOrig);
}

void COptionsDlg::connectClick(QAbstractButton* button, void (COptionsDlg::*rule)())
{
    connect(button, &QAbstractButton::clicked, this, rule);
}

void COptionsDlg::OnInitDialog()
{
    for (const Setting setting : kOptionBoxes)
        box(setting)->setChecked(platform::readSetting(setting) != 0);

    const int typ = platform::readSetting(Setting::TypMBX);
    m_typM->setChecked(typ == kTypM);
    m_typB->setChecked(typ == kTypB);
    m_typSelf->setChecked(typ == kTypSelf);

    if (typ == kTypM) {
        OnTypM();
    } else if (typ == kTypB) {
        OnTypB();
    } else if (typ == kTypSelf) {
        enableRenamingControls(true);
        for (const Setting setting : kConversionBoxes)
            box(setting)->setChecked(platform::readSetting(setting) != 0);
        const auto& pattern = platform::settingInfo(Setting::ID2DatNam);
        m_pattern->setText(QString::fromStdString(platform::profile().getString(pattern.key, pattern.defaultText)));
    }

    OnRename();

    m_keepOrig->setChecked(platform::isOn(Setting::KeepOrig));
    m_keepDays->setValue(platform::readSetting(Setting::KeepDays));
    OnKeepOrig();
}

void COptionsDlg::OnKeepOrig()
{
    m_keepDays->setEnabled(m_keepOrig->isChecked());
}

bool COptionsDlg::patternRefused()
{
    // A pattern the user cannot change is taken as it was stored.
    if (!m_pattern->isEnabled())
        return false;
    const QString pattern = storedPattern(m_pattern->text());
    const autoedit::PatternCheck check = autoedit::CheckPattern(pattern.toStdString());
    QString message;
    switch (check.fault) {
    case autoedit::PatternFault::None:
        return false;
    case autoedit::PatternFault::FolderSeparator:
        message = QStringLiteral("Das Muster '%1' enthält '%2': ein Dateiname kann keinen Ordner angeben.");
        break;
    case autoedit::PatternFault::UnknownWord:
        message = QStringLiteral("Das Muster '%1' enthält das unbekannte Wort '%2'. Bekannt sind $Artist, $Title, "
                                 "$Album, $Genre, $Comment und $Track.");
        break;
    }
    platform::prompter().showMessage(message.arg(pattern, QString::fromStdString(check.word)).toStdString());
    m_pattern->setFocus();
    return true;
}

void COptionsDlg::accept()
{
    if (patternRefused())
        return;
    auto& profile = platform::profile();
    for (const auto& info : platform::settingsTable()) {
        switch (info.setting) {
        case Setting::TypMBX:
            profile.writeInt(info.key, typMbx());
            break;
        case Setting::ID2DatNam:
            profile.writeString(info.key, storedPattern(m_pattern->text()).toStdString());
            break;
        case Setting::KeepDays:
            profile.writeInt(info.key, m_keepDays->value());
            break;
        default:
            profile.writeInt(info.key, box(info.setting)->isChecked() ? 1 : 0);
            break;
        }
    }
    QDialog::accept();
}

int COptionsDlg::typMbx() const
{
    return (m_typB->isChecked() ? 1 : 0) + 2 * (m_typSelf->isChecked() ? 1 : 0);
}

platform::OptionValues COptionsDlg::shownValues() const
{
    platform::OptionValues values;
    for (const auto& info : platform::settingsTable()) {
        if (platform::isSwitch(info.setting))
            values.setOn(info.setting, box(info.setting)->isChecked());
    }
    values.typMbx = typMbx();
    values.pattern = m_pattern->text().toStdString();
    return values;
}

void COptionsDlg::showSwitches(const platform::OptionValues& values)
{
    for (const auto& info : platform::settingsTable()) {
        if (platform::isSwitch(info.setting))
            box(info.setting)->setChecked(values.on(info.setting));
    }
}

void COptionsDlg::followClick(Setting clicked)
{
    platform::OptionValues values = shownValues();
    platform::applyRule(values, clicked);
    showSwitches(values);
}

void COptionsDlg::OnRename()
{
    const bool on = m_rename->isChecked();
    for (QRadioButton* radioButton : {m_typM, m_typB, m_typSelf})
        radioButton->setEnabled(on);
    if (m_typSelf->isChecked())
        enableRenamingControls(on);
}

void COptionsDlg::OnTypM()
{
    showPreset(platform::RenamePreset::TypM);
}

void COptionsDlg::OnTypB()
{
    showPreset(platform::RenamePreset::TypB);
}

void COptionsDlg::OnTypSelf()
{
    enableRenamingControls(true);
}

void COptionsDlg::showPreset(platform::RenamePreset preset)
{
    enableRenamingControls(false);
    platform::OptionValues values = shownValues();
    platform::applyPreset(values, preset);
    showSwitches(values);
    m_pattern->setText(QString::fromStdString(values.pattern));
}

void COptionsDlg::enableRenamingControls(bool enable)
{
    for (const Setting setting : kConversionBoxes)
        box(setting)->setEnabled(enable);
    m_pattern->setEnabled(enable);
}

QCheckBox* COptionsDlg::box(Setting setting) const
{
    switch (setting) {
    case Setting::DelFront:
        return m_delFront;
    case Setting::DelCopy:
        return m_delCopy;
    case Setting::SetOrig:
        return m_setOrig;
    case Setting::DelBack:
        return m_delBack;
    case Setting::SetID3:
        return m_setID3;
    case Setting::SetID3V2:
        return m_setID3V2;
    case Setting::ChkAll:
        return m_chkAll;
    case Setting::ForceGet:
        return m_forceGet;
    case Setting::Rename:
        return m_rename;
    case Setting::CnvUml:
        return m_cnvUml;
    case Setting::CnvAmp:
        return m_cnvAmp;
    case Setting::CnvSonder:
        return m_cnvSonder;
    case Setting::CnvSpace:
        return m_cnvSpace;
    case Setting::KeepOrig:
        return m_keepOrig;
    case Setting::TypMBX:
    case Setting::ID2DatNam:
    case Setting::KeepDays:
        break;
    }
    return nullptr;
}
