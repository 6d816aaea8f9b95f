#include "app/manual_edit_dlg.h"

#include "autoedit/rewrite_file.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "entry/picture_display.h"
#include "platform/text.h"
#include "tags/genre_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <cassert>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The groups of pending work each marker stands for.
constexpr std::uint32_t kAnyChange = 0xFF;
constexpr std::uint32_t kInfoChanges = ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY;
constexpr std::uint32_t kSizeChanges = ENTRY_CUT_FRONT | ENTRY_CUT_BACK;

// How much of each field is read back; longer input is cut silently.
constexpr std::size_t kMaxTextBytes = 78;
constexpr qsizetype kMaxYearDigits = 4;
constexpr qsizetype kMaxTrackDigits = 2;
constexpr std::size_t kMaxNameBytes = 126;

constexpr int kNoYear = 1900;
// Typing into any of these changes the tag.
constexpr int kTagTextIds[] = {CManualEditDlg::IDC_TITLE, CManualEditDlg::IDC_ARTIST, CManualEditDlg::IDC_ALBUM,
                               CManualEditDlg::IDC_COMMENT, CManualEditDlg::IDC_YEAR, CManualEditDlg::IDC_TRACK};

QString idName(int id)
{
    return QString::number(id);
}

QString marker(std::uint32_t flags, std::uint32_t mask)
{
    return (flags & mask) ? QStringLiteral(" *") : QString();
}

QString fromTag(std::string_view text)
{
    return QString::fromStdString(platform::cp1252ToUtf8(text));
}

QString fromFileName(std::string_view name)
{
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The name without its last extension; the whole name when it has none.
std::string_view nameStem(std::string_view name)
{
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string storedText(const QLineEdit* edit)
{
    std::string text = platform::utf8ToCp1252(edit->text().toStdString());
    text.resize(std::min(text.size(), kMaxTextBytes));
    return text;
}

int leadingNumber(const QLineEdit* edit, qsizetype digits)
{
    return edit->text().left(digits).toInt();
}

// At most kMaxNameBytes bytes of UTF-8, so that the name with ".mp3" fits
// the entry; a character is never split.
std::string limitedName(const QString& text)
{
    std::string name = text.toStdString();
    if (name.size() <= kMaxNameBytes)
        return name;
    std::size_t end = kMaxNameBytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    name.resize(end);
    return name;
}

}  // namespace

CManualEditDlg::CManualEditDlg(CLiedkramDoc& document, platform::ShellOpener& shell, QWidget* parent)
    : QDialog(parent), m_document(document), m_shell(shell)
{
    setWindowTitle(QStringLiteral("Manuelles Editieren"));
    createControls();
}

void CManualEditDlg::createControls()
{
    auto* groups = new QHBoxLayout;
    groups->addWidget(createTagGroup());
    groups->addWidget(createInfoGroup());

    m_save = new QPushButton(QStringLiteral("&Speichern"), this);
    m_save->setObjectName(idName(kSaved));
    m_save->setDefault(true);
    connect(m_save, &QPushButton::clicked, this, &CManualEditDlg::accept);
    auto* notSave = new QPushButton(QStringLiteral("&Nicht Speichern"), this);
    notSave->setObjectName(idName(kNotSaved));
    connect(notSave, &QPushButton::clicked, this, [this] { done(kNotSaved); });
    auto* cancel = new QPushButton(QStringLiteral("A&bbrechen"), this);
    cancel->setObjectName(idName(kCancelled));
    connect(cancel, &QPushButton::clicked, this, &CManualEditDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(notSave);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(createNameGroup());
    layout->addLayout(buttons);

    for (const int id : kTagTextIds)
        connect(m_edits.value(id), &QLineEdit::textChanged, this, [this] { track(ENTRY_TAG_DIRTY); });
    connect(m_genre, &QComboBox::currentIndexChanged, this, [this] { track(ENTRY_TAG_DIRTY); });
    // clicked() comes from the user only, never from setChecked() while filling.
    for (const int id : {IDC_ORIGINAL, IDC_COPYRIGHT})
        connect(m_boxes.value(id), &QCheckBox::clicked, this, [this] { track(ENTRY_HEADER_DIRTY); });
    connect(m_edits.value(IDC_FILENAME), &QLineEdit::textChanged, this, [this] { track(ENTRY_RENAME); });
    connect(m_picture, &QPushButton::clicked, this, &CManualEditDlg::OnPicture);
}

QWidget* CManualEditDlg::createTagGroup()
{
    m_tagGroup = new QGroupBox(QStringLiteral("ID3-Tag"), this);
    m_tagGroup->setObjectName(idName(IDC_TAG_GROUP));
    auto* grid = new QGridLayout(m_tagGroup);
    const auto addRow = [&](int row, const QString& label, int id) {
        grid->addWidget(new QLabel(label, m_tagGroup), row, 0);
        grid->addWidget(addEdit(id, m_tagGroup), row, 1, 1, 3);
    };
    addRow(0, QStringLiteral("Titel"), IDC_TITLE);
    addRow(1, QStringLiteral("Artist"), IDC_ARTIST);
    addRow(2, QStringLiteral("Album"), IDC_ALBUM);

    // Year and track are short numbers; their fields stay narrow.
    const int digitWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12;
    grid->addWidget(new QLabel(QStringLiteral("Jahr"), m_tagGroup), 3, 0);
    QLineEdit* year = addEdit(IDC_YEAR, m_tagGroup, true);
    year->setMaximumWidth(digitWidth);
    grid->addWidget(year, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Genre"), m_tagGroup), 3, 2);
    m_genre = new QComboBox(m_tagGroup);
    m_genre->setObjectName(idName(IDC_GENRE));
    m_genre->addItem(QString());
    for (int genre = 0; genre <= tags::kLastGenre; ++genre)
        m_genre->addItem(fromTag(tags::genreName(genre)));
    grid->addWidget(m_genre, 3, 3);

    grid->addWidget(new QLabel(QStringLiteral("Kommentar"), m_tagGroup), 4, 0);
    auto* commentLine = new QHBoxLayout;
    commentLine->addWidget(addEdit(IDC_COMMENT, m_tagGroup));
    QLineEdit* trackEdit = addEdit(IDC_TRACK, m_tagGroup, true);
    trackEdit->setMaximumWidth(digitWidth);
    commentLine->addWidget(trackEdit);
    grid->addLayout(commentLine, 4, 1, 1, 3);
    return m_tagGroup;
}

QWidget* CManualEditDlg::createInfoGroup()
{
    m_infoGroup = new QGroupBox(QStringLiteral("MP3-Info"), this);
    m_infoGroup->setObjectName(idName(IDC_INFO_GROUP));
    auto* grid = new QGridLayout(m_infoGroup);
    int row = 0;
    const auto addRow = [&](QLabel* label, QWidget* value) {
        if (label)
            grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    };
    addRow(addLabel(IDC_SIZE_LABEL, m_infoGroup, QStringLiteral("Size:")), addLabel(IDC_SIZE, m_infoGroup));
    addRow(nullptr, addLabel(IDC_JUNK, m_infoGroup));
    addRow(addLabel(IDC_LENGTH_LABEL, m_infoGroup, QStringLiteral("Length:")), addLabel(IDC_LENGTH, m_infoGroup));
    addRow(new QLabel(QStringLiteral("Samplerate:"), m_infoGroup), addLabel(IDC_SAMPLERATE, m_infoGroup));
    addRow(addLabel(IDC_BITRATE_LABEL, m_infoGroup, QStringLiteral("Bitrate:")), addLabel(IDC_BITRATE, m_infoGroup));
    addRow(new QLabel(QStringLiteral("Typ:"), m_infoGroup), addLabel(IDC_TYPE, m_infoGroup));
    addRow(new QLabel(QStringLiteral("CRCs:"), m_infoGroup), addBox(IDC_CRCS, m_infoGroup));
    addRow(new QLabel(QStringLiteral("Emphasis:"), m_infoGroup), addLabel(IDC_EMPHASIS, m_infoGroup));
    addRow(addLabel(IDC_ORIGINAL_LABEL, m_infoGroup, QStringLiteral("Original:")), addBox(IDC_ORIGINAL, m_infoGroup));
    addRow(new QLabel(QStringLiteral("Copyrighted:"), m_infoGroup), addBox(IDC_COPYRIGHT, m_infoGroup));
    // Read-only: it only shows what the frames carry.
    m_boxes.value(IDC_CRCS)->setEnabled(false);

    m_picture = new QPushButton(QStringLiteral("jpg"), m_infoGroup);
    m_picture->setObjectName(idName(IDC_PICTURE));
    m_picture->setAutoDefault(false);
    m_picture->setEnabled(false);
    grid->addWidget(m_picture, 0, 2, Qt::AlignRight | Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    return m_infoGroup;
}

QWidget* CManualEditDlg::createNameGroup()
{
    m_nameGroup = new QGroupBox(QStringLiteral("Dateiname"), this);
    m_nameGroup->setObjectName(idName(IDC_NAME_GROUP));
    auto* row = new QHBoxLayout(m_nameGroup);
    row->addWidget(addEdit(IDC_FILENAME, m_nameGroup));
    row->addWidget(addLabel(IDC_EXTENSION, m_nameGroup, QStringLiteral(".mp3")));
    return m_nameGroup;
}

QLineEdit* CManualEditDlg::addEdit(int id, QWidget* parent, bool digitsOnly)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(idName(id));
    if (digitsOnly)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    m_edits.insert(id, edit);
    return edit;
}

QLabel* CManualEditDlg::addLabel(int id, QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(idName(id));
    label->setTextFormat(Qt::PlainText);
    m_labels.insert(id, label);
    return label;
}

QCheckBox* CManualEditDlg::addBox(int id, QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(idName(id));
    m_boxes.insert(id, box);
    return box;
}

int CManualEditDlg::exec()
{
    assert(m_entry);
    OnInitDialog();
    m_bRewriteFailed = false;
    const int result = QDialog::exec();
    if (m_saveError)
        std::rethrow_exception(std::exchange(m_saveError, nullptr));
    return result;
}

void CManualEditDlg::OnInitDialog()
{
    m_bTracking = false;
    m_nChangeFlags = m_entry->m_nFlags;
    fillTag();
    fillInfo();
    // Each showing starts as a fresh dialog: in the first field, Enter saves.
    m_save->setDefault(true);
    m_edits.value(IDC_TITLE)->setFocus();
    m_bTracking = true;
}

void CManualEditDlg::fillTag()
{
    const CLiedkramEntry& entry = *m_entry;
    m_edits.value(IDC_TITLE)->setText(fromTag(entry.m_szTitle.view()));
    m_edits.value(IDC_ARTIST)->setText(fromTag(entry.m_szArtist.view()));
    m_edits.value(IDC_ALBUM)->setText(fromTag(entry.m_szAlbum.view()));
    const bool listedGenre = entry.m_nGenre >= tags::kNoGenre && entry.m_nGenre <= tags::kLastGenre;
    m_genre->setCurrentIndex(listedGenre ? entry.m_nGenre + 1 : 0);
    m_edits.value(IDC_COMMENT)->setText(fromTag(entry.m_szComment.view()));
    m_edits.value(IDC_FILENAME)->setText(fromFileName(nameStem(entry.m_szFileName.view())));
    m_edits.value(IDC_YEAR)->setText(entry.m_nYear == kNoYear ? QString() : QString::number(entry.m_nYear));
    m_edits.value(IDC_TRACK)->setText(entry.m_nTrack == 0 ? QString() : QString::number(entry.m_nTrack));
}

void CManualEditDlg::fillInfo()
{
    const CLiedkramEntry& entry = *m_entry;
    const auto setText = [this](int id, const QString& text) { m_labels.value(id)->setText(text); };
    setText(IDC_SIZE, QStringLiteral("%1 bytes").arg(entry.m_nFileSize));
    setText(IDC_SAMPLERATE, QStringLiteral("%1 Hz, %2")
                                .arg(entry.GetSampleRate())
                                .arg(QString::fromStdString(entry.GetModeText())));
    setText(IDC_BITRATE, QStringLiteral("%1 kbit, %2 frames")
                             .arg(QString::fromStdString(entry.GetBitrateText()))
                             .arg(entry.m_nFrames));
    setText(IDC_LENGTH, QString::fromStdString(entry.GetLengthText()));
    setText(IDC_TYPE, QString::fromStdString(entry.GetFormatText()));
    setText(IDC_EMPHASIS, QString::fromStdString(entry.GetEmphasisText()));

    // The box is ticked when the frames carry a CRC, which a clear protection bit says.
    m_boxes.value(IDC_CRCS)->setChecked(entry.GetProtectionBit() == 0);
    m_boxes.value(IDC_COPYRIGHT)->setChecked(entry.IsCopyright());
    m_boxes.value(IDC_ORIGINAL)->setChecked(entry.IsOriginal());
    m_picture->setEnabled(entry.m_bHasId3v2 == 1);

    const bool scanError = (entry.m_nFlags & ENTRY_SCAN_ERROR) != 0;
    QString junk = QStringLiteral("Front:%1, Back:%2").arg(entry.m_nAudioStart).arg(entry.m_nFileSize - entry.m_nAudioEnd);
    if (scanError)
        junk += QStringLiteral(", Error *");
    setText(IDC_JUNK, junk);
    m_save->setEnabled(!scanError);

    const bool verified = entry.m_bVerified != 0;
    m_boxes.value(IDC_ORIGINAL)->setEnabled(verified);
    m_boxes.value(IDC_COPYRIGHT)->setEnabled(verified);
    setText(IDC_BITRATE_LABEL, verified ? QStringLiteral("Bitrate:") : QStringLiteral("Bitrate ?:"));
    setText(IDC_LENGTH_LABEL, verified ? QStringLiteral("Length:") : QStringLiteral("Length ?:"));
}

void CManualEditDlg::showEvent(QShowEvent* event)
{
    updateMarkers();
    QDialog::showEvent(event);
}

void CManualEditDlg::track(std::uint32_t bit)
{
    if (!m_bTracking)
        return;
    m_nChangeFlags |= bit;
    updateMarkers();
}

void CManualEditDlg::updateMarkers()
{
    const std::uint32_t flags = m_nChangeFlags;
    setWindowTitle(QStringLiteral("Manuelles Editieren - [") + fromFileName(m_entry->m_szFileName.view()) +
                   marker(flags, kAnyChange) + QStringLiteral("]"));
    m_tagGroup->setTitle(QStringLiteral("ID3-Tag") + marker(flags, ENTRY_TAG_DIRTY));
    m_infoGroup->setTitle(QStringLiteral("MP3-Info") + marker(flags, kInfoChanges));
    m_nameGroup->setTitle(QStringLiteral("Dateiname") + marker(flags, ENTRY_RENAME));
    m_labels.value(IDC_SIZE_LABEL)->setText(QStringLiteral("Size") + marker(flags, kSizeChanges) + QStringLiteral(":"));
    m_labels.value(IDC_ORIGINAL_LABEL)
        ->setText(QStringLiteral("Original") + marker(flags, ENTRY_HEADER_DIRTY) + QStringLiteral(":"));
}

void CManualEditDlg::accept()
{
    if (m_nChangeFlags == 0) {
        done(kNotSaved);
        return;
    }
    // An error must not unwind through the event loop; exec() throws it.
    try {
        m_bRewriteFailed = !save();
    } catch (...) {
        m_saveError = std::current_exception();
        done(kCancelled);
        return;
    }
    done(kSaved);
}

void CManualEditDlg::reject()
{
    done(kCancelled);
}

bool CManualEditDlg::save()
{
    CLiedkramEntry& entry = *m_entry;
    entry.m_nFlags = m_nChangeFlags;
    entry.UpdateCutFlags();
    readBack();
    entry.SetOriginal(m_boxes.value(IDC_ORIGINAL)->isChecked() ? 1 : 0);
    entry.SetCopyright(m_boxes.value(IDC_COPYRIGHT)->isChecked() ? 1 : 0);
    return autoedit::RewriteFile(entry, m_changes) != autoedit::RewriteOutcome::Failed;
}

void CManualEditDlg::readBack()
{
    CLiedkramEntry& entry = *m_entry;
    entry.m_szTitle = storedText(m_edits.value(IDC_TITLE));
    entry.m_szArtist = storedText(m_edits.value(IDC_ARTIST));
    entry.m_szAlbum = storedText(m_edits.value(IDC_ALBUM));
    entry.m_szComment = storedText(m_edits.value(IDC_COMMENT));
    const int year = leadingNumber(m_edits.value(IDC_YEAR), kMaxYearDigits);
    entry.m_nYear = year == 0 ? kNoYear : year;
    entry.m_nGenre = m_genre->currentIndex() - 1;
    entry.m_nTrack = static_cast<std::uint8_t>(leadingNumber(m_edits.value(IDC_TRACK), kMaxTrackDigits));
    // Only a name the user changed is carried out: ENTRY_RENAME comes from the tracking.
    entry.m_strNewName = limitedName(m_edits.value(IDC_FILENAME)->text()) + ".mp3";
}

void CManualEditDlg::OnPicture()
{
    entry::showId3v2Picture(*m_entry, m_document.pictureDirectory(), m_shell);
}
