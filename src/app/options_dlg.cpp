#include "app/options_dlg.h"

#include "platform/profile.h"
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

struct BoxBinding {
    Setting setting;
    int id;
};

// The boxes filled when the dialog opens, in the order they are read.
constexpr std::array<BoxBinding, 9> kOptionBoxes = {{
    {Setting::DelFront, COptionsDlg::IDC_DELFRONT},
    {Setting::DelCopy, COptionsDlg::IDC_DELCOPY},
    {Setting::SetOrig, COptionsDlg::IDC_SETORIG},
    {Setting::DelBack, COptionsDlg::IDC_DELBACK},
    {Setting::SetID3, COptionsDlg::IDC_SETID3},
    {Setting::SetID3V2, COptionsDlg::IDC_SETID3V2},
    {Setting::ForceGet, COptionsDlg::IDC_FORCEGET},
    {Setting::ChkAll, COptionsDlg::IDC_CHKALL},
    {Setting::Rename, COptionsDlg::IDC_RENAME},
}};

constexpr std::array<BoxBinding, 4> kConversionBoxes = {{
    {Setting::CnvUml, COptionsDlg::IDC_CNVUML},
    {Setting::CnvAmp, COptionsDlg::IDC_CNVAMP},
    {Setting::CnvSonder, COptionsDlg::IDC_CNVSONDER},
    {Setting::CnvSpace, COptionsDlg::IDC_CNVSPACE},
}};

// Kept originals stay at least a day and at most ten years.
constexpr int kMinKeepDays = 1;
constexpr int kMaxKeepDays = 3650;

constexpr int kTypM = 0;
constexpr int kTypB = 1;
constexpr int kTypSelf = 2;

const QString kPatternTypM = QStringLiteral("$Track - $Artist - $Title");
const QString kPatternTypB = QStringLiteral("$Artist-$Title");

// The stored pattern holds at most 49 characters; longer text is cut, counting
// characters as the user sees them so none is split.
constexpr int kMaxStoredPatternChars = 49;

QString storedPattern(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int characters = 0;
    while (finder.toNextBoundary() != -1) {
        if (++characters == kMaxStoredPatternChars)
            return text.left(finder.position());
    }
    return text;
}

int boxIdOf(Setting setting)
{
    for (const auto& binding : kOptionBoxes) {
        if (binding.setting == setting)
            return binding.id;
    }
    for (const auto& binding : kConversionBoxes) {
        if (binding.setting == setting)
            return binding.id;
    }
    return 0;
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
        m_boxes.insert(id, checkBox);
        return checkBox;
    };
    const auto addRadio = [this](int id, const QString& text) {
        auto* radioButton = new QRadioButton(text, this);
        radioButton->setObjectName(idName(id));
        m_radios.insert(id, radioButton);
        return radioButton;
    };

    auto* change = new QGroupBox(QStringLiteral("MP3s verändern"), this);
    auto* changeLayout = new QVBoxLayout(change);
    changeLayout->addWidget(addBox(IDC_DELFRONT, QStringLiteral("Frontkill (Wav, Junk, Silence)")));
    changeLayout->addWidget(addBox(IDC_SETID3V2, QStringLiteral("ID3-V2-Tag erzeugen")));
    changeLayout->addWidget(addBox(IDC_DELCOPY, QStringLiteral("Copyright-Flags löschen")));
    changeLayout->addWidget(addBox(IDC_SETORIG, QStringLiteral("Original-Flags setzen")));
    changeLayout->addWidget(addBox(IDC_DELBACK, QStringLiteral("Backkill (Brava, Junk, Silence)")));
    changeLayout->addWidget(addBox(IDC_SETID3, QStringLiteral("ID3-V1-Tag erzeugen")));

    auto* scan = new QGroupBox(QStringLiteral("Scan-Einstellungen"), this);
    auto* scanLayout = new QVBoxLayout(scan);
    scanLayout->addWidget(addBox(IDC_FORCEGET, QStringLiteral("Dateiname -> ID3 erzwingen")));
    scanLayout->addWidget(addBox(IDC_CHKALL, QStringLiteral("kompletter Blockscan, slow ;-(")));

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(idName(1));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &COptionsDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("A&bbrechen"), this);
    cancel->setObjectName(idName(2));
    connect(cancel, &QPushButton::clicked, this, &COptionsDlg::reject);

    auto* rename = new QGroupBox(QStringLiteral("MP3s umbenennen"), this);
    auto* renameLayout = new QVBoxLayout(rename);
    renameLayout->addWidget(addBox(IDC_RENAME, QStringLiteral("Dateinamen anpassen")));
    auto* presets = new QHBoxLayout;
    presets->addWidget(addRadio(IDC_TYP_M, QStringLiteral("Typ M")));
    presets->addWidget(addRadio(IDC_TYP_B, QStringLiteral("Typ B")));
    presets->addWidget(addRadio(IDC_TYP_SELF, QStringLiteral("selbstdefiniert")));
    renameLayout->addLayout(presets);
    m_pattern = new QLineEdit(this);
    m_pattern->setObjectName(idName(IDC_PATTERN));
    renameLayout->addWidget(m_pattern);
    renameLayout->addWidget(wrappedLabel(
        QStringLiteral("($Title $Artist $Album $Year $Genre $Comment $Track, alle anderen Zeichen werden übernommen)"),
        rename));
    auto* conversions = new QGridLayout;
    conversions->addWidget(addBox(IDC_CNVSPACE, QStringLiteral("_ statt Space")), 0, 0);
    conversions->addWidget(addBox(IDC_CNVAMP, QStringLiteral("n statt &&")), 0, 1);
    conversions->addWidget(addBox(IDC_CNVUML, QStringLiteral("Ae statt Ä, ...")), 1, 0);
    conversions->addWidget(addBox(IDC_CNVSONDER, QStringLiteral("' , . entfernen")), 1, 1);
    renameLayout->addLayout(conversions);

    auto* keep = new QGroupBox(QStringLiteral("Rückgängig"), this);
    auto* keepLayout = new QVBoxLayout(keep);
    keepLayout->addWidget(addBox(IDC_KEEPORIG, QStringLiteral("Originale aufbewahren")));
    auto* days = new QHBoxLayout;
    m_keepDays = new QSpinBox(this);
    m_keepDays->setObjectName(idName(IDC_KEEPDAYS));
    m_keepDays->setRange(kMinKeepDays, kMaxKeepDays);
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
    connectClick(IDC_DELFRONT, &COptionsDlg::OnDelFront);
    connectClick(IDC_DELCOPY, &COptionsDlg::OnDelCopy);
    connectClick(IDC_SETORIG, &COptionsDlg::OnSetOrig);
    connectClick(IDC_DELBACK, &COptionsDlg::OnDelBack);
    connectClick(IDC_SETID3, &COptionsDlg::OnSetID3);
    connectClick(IDC_SETID3V2, &COptionsDlg::OnSetID3V2);
    connectClick(IDC_CHKALL, &COptionsDlg::OnChkAll);
    connectClick(IDC_RENAME, &COptionsDlg::OnRename);
    connectClick(IDC_TYP_M, &COptionsDlg::OnTypM);
    connectClick(IDC_TYP_B, &COptionsDlg::OnTypB);
    connectClick(IDC_TYP_SELF, &COptionsDlg::OnTypSelf);
    connectClick(IDC_KEEPORIG, &COptionsDlg::OnKeepOrig);
}

void COptionsDlg::connectClick(int id, void (COptionsDlg::*rule)())
{
    QAbstractButton* button = m_boxes.value(id);
    if (!button)
        button = m_radios.value(id);
    connect(button, &QAbstractButton::clicked, this, rule);
}

void COptionsDlg::OnInitDialog()
{
    for (const auto& binding : kOptionBoxes)
        box(binding.id)->setChecked(platform::readSetting(binding.setting) != 0);

    const int typ = platform::readSetting(Setting::TypMBX);
    radio(IDC_TYP_M)->setChecked(typ == kTypM);
    radio(IDC_TYP_B)->setChecked(typ == kTypB);
    radio(IDC_TYP_SELF)->setChecked(typ == kTypSelf);

    if (typ == kTypM) {
        OnTypM();
    } else if (typ == kTypB) {
        OnTypB();
    } else if (typ == kTypSelf) {
        enableRenamingControls(true);
        for (const auto& binding : kConversionBoxes)
            box(binding.id)->setChecked(platform::readSetting(binding.setting) != 0);
        m_pattern->setText(QString::fromStdString(platform::readRenamePattern()));
    }

    OnRename();

    box(IDC_KEEPORIG)->setChecked(platform::isOn(Setting::KeepOrig));
    m_keepDays->setValue(platform::readSetting(Setting::KeepDays));
    OnKeepOrig();
}

void COptionsDlg::OnKeepOrig()
{
    m_keepDays->setEnabled(box(IDC_KEEPORIG)->isChecked());
}

void COptionsDlg::accept()
{
    auto& profile = platform::profile();
    for (const auto& info : platform::settingsTable()) {
        switch (info.setting) {
        case Setting::TypMBX:
            profile.writeInt(info.key, typMbx());
            break;
        case Setting::ID2DatNam:
            profile.writeString(info.key, storedPattern(m_pattern->text()).toStdString());
            break;
        case Setting::KeepOrig:
            profile.writeInt(info.key, box(IDC_KEEPORIG)->isChecked() ? 1 : 0);
            break;
        case Setting::KeepDays:
            profile.writeInt(info.key, m_keepDays->value());
            break;
        default:
            profile.writeInt(info.key, box(boxIdOf(info.setting))->isChecked() ? 1 : 0);
            break;
        }
    }
    QDialog::accept();
}

int COptionsDlg::typMbx() const
{
    return (radio(IDC_TYP_B)->isChecked() ? 1 : 0) + 2 * (radio(IDC_TYP_SELF)->isChecked() ? 1 : 0);
}

void COptionsDlg::OnDelFront()
{
    if (box(IDC_DELFRONT)->isChecked()) {
        box(IDC_DELBACK)->setChecked(true);
        box(IDC_CHKALL)->setChecked(true);
    } else {
        box(IDC_DELCOPY)->setChecked(false);
        box(IDC_SETORIG)->setChecked(false);
        box(IDC_SETID3V2)->setChecked(false);
    }
}

void COptionsDlg::OnDelCopy()
{
    if (box(IDC_DELCOPY)->isChecked())
        requireFrontCutAndFullScan();
}

void COptionsDlg::OnSetOrig()
{
    if (box(IDC_SETORIG)->isChecked())
        requireFrontCutAndFullScan();
}

void COptionsDlg::requireFrontCutAndFullScan()
{
    // Rewriting every frame header goes with the front cut and the exact frame walk.
    box(IDC_DELFRONT)->setChecked(true);
    box(IDC_CHKALL)->setChecked(true);
}

void COptionsDlg::OnDelBack()
{
    if (!box(IDC_DELBACK)->isChecked())
        box(IDC_SETID3)->setChecked(false);
}

void COptionsDlg::OnSetID3()
{
    if (box(IDC_SETID3)->isChecked())
        box(IDC_DELBACK)->setChecked(true);
}

void COptionsDlg::OnSetID3V2()
{
    if (box(IDC_SETID3V2)->isChecked())
        box(IDC_DELFRONT)->setChecked(true);
}

void COptionsDlg::OnChkAll()
{
    if (!box(IDC_CHKALL)->isChecked()) {
        box(IDC_DELFRONT)->setChecked(false);
        box(IDC_SETORIG)->setChecked(false);
        box(IDC_DELCOPY)->setChecked(false);
    }
}

void COptionsDlg::OnRename()
{
    const bool on = box(IDC_RENAME)->isChecked();
    for (QRadioButton* radioButton : {radio(IDC_TYP_M), radio(IDC_TYP_B), radio(IDC_TYP_SELF)})
        radioButton->setEnabled(on);
    if (radio(IDC_TYP_SELF)->isChecked())
        enableRenamingControls(on);
}

void COptionsDlg::OnTypM()
{
    applyPreset(false, kPatternTypM);
}

void COptionsDlg::OnTypB()
{
    applyPreset(true, kPatternTypB);
}

void COptionsDlg::OnTypSelf()
{
    enableRenamingControls(true);
}

void COptionsDlg::applyPreset(bool conversions, const QString& pattern)
{
    enableRenamingControls(false);
    for (const auto& binding : kConversionBoxes)
        box(binding.id)->setChecked(conversions);
    m_pattern->setText(pattern);
}

void COptionsDlg::enableRenamingControls(bool enable)
{
    for (const auto& binding : kConversionBoxes)
        box(binding.id)->setEnabled(enable);
    m_pattern->setEnabled(enable);
}

QCheckBox* COptionsDlg::box(int id) const
{
    return m_boxes.value(id);
}

QRadioButton* COptionsDlg::radio(int id) const
{
    return m_radios.value(id);
}
