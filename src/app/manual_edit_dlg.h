#pragma once

#include "autoedit/manual_edit.h"
#include "platform/repair_settings.h"

#include <QDialog>

#include <cstdint>
#include <exception>

class CLiedkramDoc;

namespace history {
class ChangeSet;
}
class CLiedkramEntry;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class ShellOpener;
}

// Shows one entry in full and lets the user change its tag, its file name
// and its original and copyright bits. One dialog serves a whole walk over
// the selected entries; each showing fills the controls anew. Changes are
// tracked as pending-work bits and marked with " *" in the caption and the
// group titles. Every control's objectName is its id.
class CManualEditDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId : int {
        IDC_FILENAME = 1024,
        IDC_TITLE = 1025,
        IDC_ALBUM = 1026,
        IDC_ARTIST = 1027,
        IDC_COMMENT = 1028,
        IDC_GENRE = 1029,
        IDC_YEAR = 1030,
        IDC_TAG_GROUP = 1032,
        IDC_INFO_GROUP = 1033,
        IDC_NAME_GROUP = 1034,
        IDC_ORIGINAL = 1035,
        IDC_CRCS = 1036,
        IDC_COPYRIGHT = 1037,
        IDC_SIZE = 1038,
        IDC_BITRATE = 1039,
        IDC_SAMPLERATE = 1041,
        IDC_EMPHASIS = 1042,
        IDC_LENGTH = 1045,
        IDC_TYPE = 1046,
        IDC_EXTENSION = 1054,
        IDC_PICTURE = 1057,
        IDC_JUNK = 1058,
        IDC_SIZE_LABEL = 1059,
        IDC_ORIGINAL_LABEL = 1060,
        IDC_BITRATE_LABEL = 1061,
        IDC_LENGTH_LABEL = 1062,
        IDC_TRACK = 1063,
    };

    // What a showing ends with.
    enum Result : int {
        kSaved = 1,
        kCancelled = 2,
        kNotSaved = 3,
    };

    // The picture button writes into the document's picture directory and
    // opens the picture with shell.
    CManualEditDlg(CLiedkramDoc& document, platform::ShellOpener& shell, QWidget* parent = nullptr);

    void setEntry(CLiedkramEntry* entry) { m_entry = entry; }
    // Where the changes of "&Speichern" are recorded; none records nothing.
    void setChangeSet(history::ChangeSet* changes) { m_changes = changes; }
    // What "&Speichern" marks and writes besides the user's changes.
    void setSettings(const platform::RepairSettings& settings) { m_settings = settings; }
    // Fills the controls from the entry and shows the dialog modally. An
    // error raised while saving ends the showing and is thrown from here;
    // the file is then as it was.
    int exec() override;

    // "&Speichern": with changes, writes them into the entry and its file.
    void accept() override;
    // "A&bbrechen", Escape and the close box.
    void reject() override;

    // The entry's pending work when shown, plus the groups the user changed.
    std::uint32_t changeFlags() const { return m_nChangeFlags; }
    // The last "&Speichern" met a file error in the middle of the rewrite
    // (reported, the file as it was): the walk over the rows ends.
    bool rewriteFailed() const { return m_bRewriteFailed; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    QWidget* createTagGroup();
    QWidget* createInfoGroup();
    QWidget* createNameGroup();

    void OnInitDialog();
    void fillTag();
    void fillInfo();
    void track(std::uint32_t bit);
    void updateMarkers();
    // What the controls hold, for "&Speichern".
    autoedit::ManualEdit collectEdit() const;
    void OnPicture();

    CLiedkramDoc& m_document;
    platform::ShellOpener& m_shell;
    CLiedkramEntry* m_entry = nullptr;
    history::ChangeSet* m_changes = nullptr;
    platform::RepairSettings m_settings;
    std::uint32_t m_nChangeFlags = 0;
    bool m_bTracking = false;
    bool m_bRewriteFailed = false;
    std::exception_ptr m_saveError;

    QLineEdit* m_title = nullptr;
    QLineEdit* m_artist = nullptr;
    QLineEdit* m_album = nullptr;
    QLineEdit* m_year = nullptr;
    QComboBox* m_genre = nullptr;
    QLineEdit* m_comment = nullptr;
    QLineEdit* m_track = nullptr;

    QLabel* m_sizeLabel = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_junk = nullptr;
    QLabel* m_lengthLabel = nullptr;
    QLabel* m_length = nullptr;
    QLabel* m_sampleRate = nullptr;
    QLabel* m_bitrateLabel = nullptr;
    QLabel* m_bitrate = nullptr;
    QLabel* m_type = nullptr;
    QCheckBox* m_crcs = nullptr;
    QLabel* m_emphasis = nullptr;
    QLabel* m_originalLabel = nullptr;
    QCheckBox* m_original = nullptr;
    QCheckBox* m_copyright = nullptr;

    QLineEdit* m_fileName = nullptr;

    QGroupBox* m_tagGroup = nullptr;
    QGroupBox* m_infoGroup = nullptr;
    QGroupBox* m_nameGroup = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_picture = nullptr;
};
