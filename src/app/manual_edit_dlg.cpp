#include "app/manual_edit_dlg.h"

#include "autoedit/manual_edit.h"
#include "document/file_presence.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "entry/picture_display.h"
#include "platform/prompter.h"
#include "platform/text.h"
#include "tags/genre_list.h"
#include "tags/id3v1.h"

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

QString idName(int id)
{
    return QString::number(id);
}

QLineEdit* newEdit(int id, QWidget* parent, bool digitsOnly = false)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(idName(id));
    if (digitsOnly)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QLabel* newLabel(int id, QWidget* parent, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(idName(id));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QCheckBox* newBox(int id, QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(idName(id));
    return box;
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

    for (QLineEdit* tagText : {m_title, m_artist, m_album, m_comment, m_year, m_track})
        connect(tagText, &QLineEdit::textChanged, this, [this] { track(ENTRY_TAG_DIRTY); });
    connect(m_genre, &QComboBox::currentIndexChanged, this, [this] { track(ENTRY_TAG_DIRTY); });
    // clicked() comes from the user only, never from setChecked() while filling.
    for (QCheckBox* headerBit : {m_original, m_copyright})
        connect(headerBit, &QCheckBox::clicked, this, [this] { track(ENTRY_HEADER_DIRTY); });
    connect(m_fileName, &QLineEdit::textChanged, this, [this] { track(ENTRY_RENAME); });
    connect(m_picture, &QPushButton::clicked, this, &CManualEditDlg::OnPicture);
}

QWidget* CManualEditDlg::createTagGroup()
{
    m_tagGroup = new QGroupBox(QStringLiteral("ID3-Tag"), this);
    m_tagGroup->setObjectName(idName(IDC_TAG_GROUP));
    auto* grid = new QGridLayout(m_tagGroup);
    const auto addRow = [&](int row, const QString& label, int id) {
        grid->addWidget(new QLabel(label, m_tagGroup), row, 0);
        QLineEdit* edit = newEdit(id, m_tagGroup);
        grid->addWidget(edit, row, 1, 1, 3);
        return edit;
    };
    m_title = addRow(0, QStringLiteral("Titel"), IDC_TITLE);
    m_artist = addRow(1, QStringLiteral("Artist"), IDC_ARTIST);
    m_album = addRow(2, QStringLiteral("Album"), IDC_ALBUM);

    // Year and track are short numbers; their fields stay narrow.
    const int digitWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12;
    grid->addWidget(new QLabel(QStringLiteral("Jahr"), m_tagGroup), 3, 0);
    m_year = newEdit(IDC_YEAR, m_tagGroup, true);
    m_year->setMaximumWidth(digitWidth);
    grid->addWidget(m_year, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Genre"), m_tagGroup), 3, 2);
    m_genre = new QComboBox(m_tagGroup);
    m_genre->setObjectName(idName(IDC_GENRE));
    m_genre->addItem(QString());
    for (int genre = 0; genre <= tags::kLastGenre; ++genre)
        m_genre->addItem(fromTag(tags::genreName(genre)));
    grid->addWidget(m_genre, 3, 3);

    grid->addWidget(new QLabel(QStringLiteral("Kommentar"), m_tagGroup), 4, 0);
    auto* commentLine = new QHBoxLayout;
    m_comment = newEdit(IDC_COMMENT, m_tagGroup);
    commentLine->addWidget(m_comment);
    m_track = newEdit(IDC_TRACK, m_tagGroup, true);
    m_track->setMaximumWidth(digitWidth);
    commentLine->addWidget(m_track);
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
    m_sizeLabel = newLabel(IDC_SIZE_LABEL, m_infoGroup, QStringLiteral("Size:"));
    m_size = newLabel(IDC_SIZE, m_infoGroup);
    addRow(m_sizeLabel, m_size);
    m_junk = newLabel(IDC_JUNK, m_infoGroup);
    addRow(nullptr, m_junk);
    m_lengthLabel = newLabel(IDC_LENGTH_LABEL, m_infoGroup, QStringLiteral("Length:"));
    m_length = newLabel(IDC_LENGTH, m_infoGroup);
    addRow(m_lengthLabel, m_length);
    m_sampleRate = newLabel(IDC_SAMPLERATE, m_infoGroup);
    addRow(new QLabel(QStringLiteral("Samplerate:"), m_infoGroup), m_sampleRate);
    m_bitrateLabel = newLabel(IDC_BITRATE_LABEL, m_infoGroup, QStringLiteral("Bitrate:"));
    m_bitrate = newLabel(IDC_BITRATE, m_infoGroup);
    addRow(m_bitrateLabel, m_bitrate);
    m_type = newLabel(IDC_TYPE, m_infoGroup);
    addRow(new QLabel(QStringLiteral("Typ:"), m_infoGroup), m_type);
    m_crcs = newBox(IDC_CRCS, m_infoGroup);
    addRow(new QLabel(QStringLiteral("CRCs:"), m_infoGroup), m_crcs);
    m_emphasis = newLabel(IDC_EMPHASIS, m_infoGroup);
    addRow(new QLabel(QStringLiteral("Emphasis:"), m_infoGroup), m_emphasis);
    m_originalLabel = newLabel(IDC_ORIGINAL_LABEL, m_infoGroup, QStringLiteral("Original:"));
    m_original = newBox(IDC_ORIGINAL, m_infoGroup);
    addRow(m_originalLabel, m_original);
    m_copyright = newBox(IDC_COPYRIGHT, m_infoGroup);
    addRow(new QLabel(QStringLiteral("Copyrighted:"), m_infoGroup), m_copyright);
    // Read-only: it only shows what the frames carry.
    m_crcs->setEnabled(false);

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
    m_fileName = newEdit(IDC_FILENAME, m_nameGroup);
    row->addWidget(m_fileName);
    row->addWidget(newLabel(IDC_EXTENSION, m_nameGroup, QStringLiteral(".mp3")));
    return m_nameGroup;
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
    m_title->setFocus();
    m_bTracking = true;
}

void CManualEditDlg::fillTag()
{
    const CLiedkramEntry& entry = *m_entry;
    m_title->setText(fromTag(entry.m_szTitle.view()));
    m_artist->setText(fromTag(entry.m_szArtist.view()));
    m_album->setText(fromTag(entry.m_szAlbum.view()));
    const bool listedGenre = entry.m_nGenre >= tags::kNoGenre && entry.m_nGenre <= tags::kLastGenre;
    m_genre->setCurrentIndex(listedGenre ? entry.m_nGenre + 1 : 0);
    m_comment->setText(fromTag(entry.m_szComment.view()));
    m_fileName->setText(fromFileName(nameStem(entry.m_szFileName.view())));
    m_year->setText(entry.m_nYear == tags::kNoYear ? QString() : QString::number(entry.m_nYear));
    m_track->setText(entry.m_nTrack == 0 ? QString() : QString::number(entry.m_nTrack));
}

void CManualEditDlg::fillInfo()
{
    const CLiedkramEntry& entry = *m_entry;
    m_size->setText(QStringLiteral("%1 bytes").arg(entry.m_nFileSize));
    m_sampleRate->setText(
        QStringLiteral("%1 Hz, %2").arg(entry.GetSampleRate()).arg(QString::fromStdString(entry.GetModeText())));
    m_bitrate->setText(
        QStringLiteral("%1 kbit, %2 frames").arg(QString::fromStdString(entry.GetBitrateText())).arg(entry.m_nFrames));
    m_length->setText(QString::fromStdString(entry.GetLengthText()));
    m_type->setText(QString::fromStdString(entry.GetFormatText()));
    m_emphasis->setText(QString::fromStdString(entry.GetEmphasisText()));

    // The box is ticked when the frames carry a CRC, which a clear protection bit says.
    m_crcs->setChecked(entry.GetProtectionBit() == 0);
    m_copyright->setChecked(entry.IsCopyright());
    m_original->setChecked(entry.IsOriginal());
    // Asked of the file, as the entry of a saved list does not know.
    m_picture->setEnabled(entry::hasId3v2Picture(entry));

    const bool scanError = (entry.m_nFlags & ENTRY_SCAN_ERROR) != 0;
    QString junk =
        QStringLiteral("Front:%1, Back:%2").arg(entry.m_nAudioStart).arg(entry.m_nFileSize - entry.m_nAudioEnd);
    if (scanError)
        junk += QStringLiteral(", Error *");
    m_junk->setText(junk);
    m_save->setEnabled(!scanError);

    const bool verified = entry.m_bVerified != 0;
    m_original->setEnabled(verified);
    m_copyright->setEnabled(verified);
    m_bitrateLabel->setText(verified ? QStringLiteral("Bitrate:") : QStringLiteral("Bitrate ?:"));
    m_lengthLabel->setText(verified ? QStringLiteral("Length:") : QStringLiteral("Length ?:"));
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
    m_sizeLabel->setText(QStringLiteral("Size") + marker(flags, kSizeChanges) + QStringLiteral(":"));
    m_originalLabel->setText(QStringLiteral("Original") + marker(flags, ENTRY_HEADER_DIRTY) + QStringLiteral(":"));
}

void CManualEditDlg::accept()
{
    autoedit::ManualEditResult result;
    // An error must not unwind through the event loop; exec() throws it.
    try {
        result = autoedit::ApplyManualEdit(*m_entry, collectEdit(), m_settings, m_changes);
    } catch (...) {
        m_saveError = std::current_exception();
        done(kCancelled);
        return;
    }
    switch (result.outcome) {
    case autoedit::ManualEditOutcome::NothingToSave:
        done(kNotSaved);
        return;
    case autoedit::ManualEditOutcome::NotPresent:
        platform::prompter().showFileMessage(m_entry->GetFullPath(),
                                             document::PresenceText(result.presence) + "; nichts gespeichert.");
        done(kNotSaved);
        return;
    case autoedit::ManualEditOutcome::Saved:
    case autoedit::ManualEditOutcome::Failed:
        m_bRewriteFailed = result.outcome == autoedit::ManualEditOutcome::Failed;
        done(kSaved);
        return;
    }
}

void CManualEditDlg::reject()
{
    done(kCancelled);
}

autoedit::ManualEdit CManualEditDlg::collectEdit() const
{
    autoedit::ManualEdit edit;
    edit.title = storedText(m_title);
    edit.artist = storedText(m_artist);
    edit.album = storedText(m_album);
    edit.comment = storedText(m_comment);
    const int year = leadingNumber(m_year, kMaxYearDigits);
    edit.year = year == 0 ? tags::kNoYear : year;
    edit.genre = m_genre->currentIndex() - 1;
    edit.track = static_cast<std::uint8_t>(leadingNumber(m_track, kMaxTrackDigits));
    // Only a name the user changed is carried out: ENTRY_RENAME comes from the tracking.
    edit.newName = limitedName(m_fileName->text()) + ".mp3";
    edit.original = m_original->isChecked();
    edit.copyright = m_copyright->isChecked();
    edit.changeFlags = m_nChangeFlags;
    return edit;
}

void CManualEditDlg::OnPicture()
{
    entry::showId3v2Picture(*m_entry, m_document.pictureDirectory(), m_shell);
}
