#include "app/manual_edit_dlg.h"

#include "edit_fixture.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/repair_settings.h"
#include "platform/text.h"
#include "support/tag_builder.h"
#include "tags/genre_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

using namespace edittest;
using Dlg = CManualEditDlg;

namespace {

QString title(const QDialog& dialog, int groupId)
{
    return dialog.findChild<QGroupBox*>(QString::number(groupId))->title();
}

QCheckBox* box(const QDialog& dialog, int id)
{
    return dialog.findChild<QCheckBox*>(QString::number(id));
}

QPushButton* button(const QDialog& dialog, int id)
{
    return dialog.findChild<QPushButton*>(QString::number(id));
}

QComboBox* genres(const QDialog& dialog)
{
    return dialog.findChild<QComboBox*>(QString::number(Dlg::IDC_GENRE));
}

// An entry without a file: 5000 bytes, audio from 100 to 4872, 9000 frames
// at 128 kbit/s of MPEG-1 layer 3 with CRCs, original, not copyrighted.
CLiedkramEntry listedEntry()
{
    CLiedkramEntry entry;
    entry.m_szFileName = "Nena - 99 Luftballons.mp3";
    entry.m_szTitle = "99 Luftballons";
    entry.m_szArtist = "Nena";
    entry.m_szAlbum = "Fr\xFChling";
    entry.m_szComment = "Single";
    testsupport::HeaderSpec kind;
    kind.crc = true;
    entry.m_dwHeader = testsupport::headerWord(kind);
    entry.m_nFileSize = 5000;
    entry.m_nAudioStart = 100;
    entry.m_nAudioEnd = 4872;
    entry.m_nBitrate = 128000;
    entry.m_nFrames = 9000;
    entry.m_nLengthMs = 235000;
    entry.m_bVerified = 1;
    return entry;
}

}  // namespace

class ManualEditDlgTest : public EditTest {
protected:
    // Shows the dialog for the entry and plays one step of the user there.
    int showWith(CLiedkramEntry& entry, const ScriptedUser::Step& step)
    {
        dialog_.setEntry(&entry);
        ScriptedUser user(waitingEditDialog, {step});
        const int result = dialog_.exec();
        EXPECT_EQ(user.stepsLeft(), 0u);
        return result;
    }

    Dlg dialog_{doc_, shell_, &window_};
};

TEST_F(ManualEditDlgTest, FillsTheControlsFromTheEntryAtEachShowing)
{
    CLiedkramEntry plain = listedEntry();
    const auto expectPlain = [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Manuelles Editieren - [Nena - 99 Luftballons.mp3]");
        EXPECT_EQ(textOf(d, Dlg::IDC_TITLE), "99 Luftballons");
        EXPECT_EQ(textOf(d, Dlg::IDC_ARTIST), "Nena");
        EXPECT_EQ(textOf(d, Dlg::IDC_ALBUM), "Frühling");
        EXPECT_EQ(textOf(d, Dlg::IDC_COMMENT), "Single");
        EXPECT_EQ(textOf(d, Dlg::IDC_YEAR), "");
        EXPECT_EQ(textOf(d, Dlg::IDC_TRACK), "");
        EXPECT_EQ(textOf(d, Dlg::IDC_FILENAME), "Nena - 99 Luftballons");
        EXPECT_EQ(textOf(d, Dlg::IDC_EXTENSION), ".mp3");
        EXPECT_EQ(genres(d)->count(), tags::kGenreCount);
        EXPECT_EQ(genres(d)->currentIndex(), 0);
        EXPECT_EQ(genres(d)->itemText(0), "");
        EXPECT_EQ(genres(d)->itemText(1).toStdString(), platform::cp1252ToUtf8(tags::genreName(0)));
        EXPECT_EQ(genres(d)->itemText(149), "none");

        EXPECT_EQ(textOf(d, Dlg::IDC_SIZE), "5000 bytes");
        EXPECT_EQ(textOf(d, Dlg::IDC_JUNK), "Front:100, Back:128");
        EXPECT_EQ(textOf(d, Dlg::IDC_LENGTH), "3:55.0");
        EXPECT_EQ(textOf(d, Dlg::IDC_SAMPLERATE), "44100 Hz, Joint Stereo");
        EXPECT_EQ(textOf(d, Dlg::IDC_BITRATE), "128 kbit, 9000 frames");
        EXPECT_EQ(textOf(d, Dlg::IDC_TYPE), "mpeg-1.0 layer-3");
        EXPECT_EQ(textOf(d, Dlg::IDC_EMPHASIS), "no emphasis");
        EXPECT_TRUE(box(d, Dlg::IDC_CRCS)->isChecked());
        EXPECT_FALSE(box(d, Dlg::IDC_CRCS)->isEnabled());
        EXPECT_TRUE(box(d, Dlg::IDC_ORIGINAL)->isChecked());
        EXPECT_FALSE(box(d, Dlg::IDC_COPYRIGHT)->isChecked());
        EXPECT_TRUE(box(d, Dlg::IDC_ORIGINAL)->isEnabled());
        EXPECT_TRUE(box(d, Dlg::IDC_COPYRIGHT)->isEnabled());
        EXPECT_EQ(textOf(d, Dlg::IDC_BITRATE_LABEL), "Bitrate:");
        EXPECT_EQ(textOf(d, Dlg::IDC_LENGTH_LABEL), "Length:");
        EXPECT_FALSE(button(d, Dlg::IDC_PICTURE)->isEnabled());
        EXPECT_TRUE(button(d, 1)->isEnabled());
        EXPECT_TRUE(button(d, 1)->isDefault());
        EXPECT_EQ(title(d, Dlg::IDC_TAG_GROUP), "ID3-Tag");
        EXPECT_EQ(title(d, Dlg::IDC_INFO_GROUP), "MP3-Info");
        EXPECT_EQ(title(d, Dlg::IDC_NAME_GROUP), "Dateiname");
        EXPECT_EQ(textOf(d, Dlg::IDC_SIZE_LABEL), "Size:");
        EXPECT_EQ(textOf(d, Dlg::IDC_ORIGINAL_LABEL), "Original:");
        click(button(d, 3));
    };
    EXPECT_EQ(showWith(plain, expectPlain), Dlg::kNotSaved);

    CLiedkramEntry odd = listedEntry();
    odd.m_nYear = 1999;
    odd.m_nTrack = 7;
    odd.m_nGenre = 17;
    odd.m_nBitrate = 128570;
    odd.m_bVerified = 0;
    odd.m_bHasId3v2 = 1;
    odd.m_nFlags = ENTRY_SCAN_ERROR | ENTRY_CUT_FRONT;
    EXPECT_EQ(showWith(odd,
                       [](QDialog& d) {
                           EXPECT_EQ(textOf(d, Dlg::IDC_YEAR), "1999");
                           EXPECT_EQ(textOf(d, Dlg::IDC_TRACK), "7");
                           EXPECT_EQ(genres(d)->currentIndex(), 18);
                           EXPECT_EQ(textOf(d, Dlg::IDC_BITRATE), "128.57 kbit, 9000 frames");
                           EXPECT_EQ(textOf(d, Dlg::IDC_JUNK), "Front:100, Back:128, Error *");
                           EXPECT_FALSE(button(d, 1)->isEnabled());
                           // The mark alone is not enough: there is no file with a picture.
                           EXPECT_FALSE(button(d, Dlg::IDC_PICTURE)->isEnabled());
                           EXPECT_FALSE(box(d, Dlg::IDC_ORIGINAL)->isEnabled());
                           EXPECT_FALSE(box(d, Dlg::IDC_COPYRIGHT)->isEnabled());
                           EXPECT_EQ(textOf(d, Dlg::IDC_BITRATE_LABEL), "Bitrate ?:");
                           EXPECT_EQ(textOf(d, Dlg::IDC_LENGTH_LABEL), "Length ?:");
                           // Pending work shows from the start.
                           EXPECT_EQ(d.windowTitle(), "Manuelles Editieren - [Nena - 99 Luftballons.mp3 *]");
                           EXPECT_EQ(title(d, Dlg::IDC_INFO_GROUP), "MP3-Info *");
                           EXPECT_EQ(textOf(d, Dlg::IDC_SIZE_LABEL), "Size *:");
                           EXPECT_EQ(title(d, Dlg::IDC_TAG_GROUP), "ID3-Tag");
                           QTest::keyClick(&d, Qt::Key_Escape);
                       }),
              Dlg::kCancelled);

    EXPECT_EQ(showWith(plain, expectPlain), Dlg::kNotSaved);
}

TEST_F(ManualEditDlgTest, MarksWhatTheUserChanges)
{
    CLiedkramEntry entry = listedEntry();
    entry.m_szFileName = "a.mp3";
    const int result = showWith(entry, [](QDialog& d) {
        QTest::keyClicks(d.findChild<QWidget*>(QString::number(Dlg::IDC_TITLE)), "x");
        EXPECT_EQ(d.windowTitle(), "Manuelles Editieren - [a.mp3 *]");
        EXPECT_EQ(title(d, Dlg::IDC_TAG_GROUP), "ID3-Tag *");
        EXPECT_EQ(title(d, Dlg::IDC_INFO_GROUP), "MP3-Info");
        EXPECT_EQ(title(d, Dlg::IDC_NAME_GROUP), "Dateiname");

        retype(d, Dlg::IDC_FILENAME, "b");
        EXPECT_EQ(title(d, Dlg::IDC_NAME_GROUP), "Dateiname *");
        EXPECT_EQ(textOf(d, Dlg::IDC_ORIGINAL_LABEL), "Original:");

        click(d, Dlg::IDC_ORIGINAL);
        EXPECT_EQ(title(d, Dlg::IDC_INFO_GROUP), "MP3-Info *");
        EXPECT_EQ(textOf(d, Dlg::IDC_ORIGINAL_LABEL), "Original *:");
        EXPECT_EQ(textOf(d, Dlg::IDC_SIZE_LABEL), "Size:");
        EXPECT_EQ(static_cast<Dlg&>(d).changeFlags(), ENTRY_TAG_DIRTY | ENTRY_RENAME | ENTRY_HEADER_DIRTY);
        click(button(d, 3));
    });
    EXPECT_EQ(result, Dlg::kNotSaved);
    EXPECT_EQ(entry.m_nFlags, 0u);
    EXPECT_EQ(entry.m_szTitle, "99 Luftballons");
    EXPECT_TRUE(entry.IsOriginal());
}

TEST_F(ManualEditDlgTest, EscapeAndTheCloseBoxCancelAndKeepTheEntry)
{
    CLiedkramEntry entry = listedEntry();
    EXPECT_EQ(showWith(entry,
                       [](QDialog& d) {
                           retype(d, Dlg::IDC_TITLE, "Anders");
                           QTest::keyClick(d.focusWidget(), Qt::Key_Escape);
                       }),
              Dlg::kCancelled);
    EXPECT_EQ(showWith(entry, [](QDialog& d) { d.close(); }), Dlg::kCancelled);
    EXPECT_EQ(showWith(entry, [](QDialog& d) { click(button(d, 2)); }), Dlg::kCancelled);
    EXPECT_EQ(entry.m_szTitle, "99 Luftballons");
}

TEST_F(ManualEditDlgTest, YearAndTrackAreReadBackAsNumbers)
{
    CLiedkramEntry& entry = addSong("song.mp3", {"Titel", "Artist", "", "1999", "", 3, 17});
    const std::string path = entry.GetFullPath();
    ASSERT_EQ(entry.m_nYear, 1999);

    const auto saveWith = [&](const QString& year, const QString& track) {
        return showWith(entry, [&](QDialog& d) {
            retype(d, Dlg::IDC_YEAR, year);
            retype(d, Dlg::IDC_TRACK, track);
            QTest::keyClick(d.focusWidget(), Qt::Key_Return);
        });
    };
    EXPECT_EQ(saveWith("", "7"), Dlg::kSaved);
    EXPECT_EQ(entry.m_nYear, 1900);
    EXPECT_EQ(entry.m_nTrack, 7);
    EXPECT_EQ(CLiedkramEntry(path, platform::readRepairSettings()).m_nYear, 1900) << "the file's new tag has no year";
    EXPECT_EQ(CLiedkramEntry(path, platform::readRepairSettings()).m_nTrack, 7);
    EXPECT_EQ(entry.m_nFlags, 0u) << "the rewrite did all the work";

    EXPECT_EQ(saveWith("20245", "123"), Dlg::kSaved);
    EXPECT_EQ(entry.m_nYear, 2024);
    EXPECT_EQ(entry.m_nTrack, 12);
    EXPECT_EQ(CLiedkramEntry(path, platform::readRepairSettings()).m_nYear, 2024);

    EXPECT_EQ(saveWith("0", ""), Dlg::kSaved);
    EXPECT_EQ(entry.m_nYear, 1900);
    EXPECT_EQ(entry.m_nTrack, 0);
    EXPECT_EQ(entry.m_szFileName, "song.mp3") << "the name was not touched";
    EXPECT_TRUE(platform::fileExists(path));
}

TEST_F(ManualEditDlgTest, TheDigitFieldsTakeNoLetters)
{
    CLiedkramEntry entry = listedEntry();
    showWith(entry, [](QDialog& d) {
        retype(d, Dlg::IDC_YEAR, "19x9");
        retype(d, Dlg::IDC_TRACK, "a1");
        EXPECT_EQ(textOf(d, Dlg::IDC_YEAR), "199");
        EXPECT_EQ(textOf(d, Dlg::IDC_TRACK), "1");
        click(button(d, 3));
    });
}

TEST_F(ManualEditDlgTest, LongTextsAreCutWhenReadBack)
{
    CLiedkramEntry& entry = addSong("song.mp3", {"Titel", "Artist", "", "", "", -1, 255});
    const QString longName = "a" + QString(200, u'\u00E9');  // "é": two bytes in UTF-8
    showWith(entry, [&](QDialog& d) {
        retype(d, Dlg::IDC_TITLE, QString(100, u'\u00FC'));
        retype(d, Dlg::IDC_FILENAME, longName);
        click(button(d, 1));
    });
    EXPECT_EQ(entry.m_szTitle, std::string(78, '\xFC'));
    // 126 bytes would end in the middle of an "é".
    EXPECT_EQ(entry.m_szFileName, (longName.left(63) + ".mp3").toStdString());
    EXPECT_TRUE(platform::fileExists(entry.GetFullPath()));
}

TEST_F(ManualEditDlgTest, ThePictureButtonShowsThePictureOfAnyTagAlsoForListedEntries)
{
    using testsupport::pictureFrame;
    const testsupport::Bytes front = testsupport::musicBytes(150000, 7);
    const testsupport::Bytes back = testsupport::musicBytes(900, 8);
    testsupport::Bytes tagged = testsupport::id3v2Frames(
        4, {testsupport::textFrame("TIT2", "Über den Wolken"), pictureFrame(4, back), pictureFrame(3, front)});
    testsupport::append(tagged, testsupport::frames({}, 20));
    CLiedkramEntry loaded(dir_.write("bild.mp3", tagged), platform::readRepairSettings());
    // As a saved list gives the entry back: only where its file lies.
    CLiedkramEntry listed = listedEntry();
    listed.m_szPath = dir_.path();
    listed.m_szFileName = "bild.mp3";
    testsupport::Bytes plain = testsupport::id3v2Frames(3, {testsupport::textFrame("TIT2", "Ohne Bild")});
    testsupport::append(plain, testsupport::frames({}, 20));
    CLiedkramEntry textsOnly(dir_.write("text.mp3", plain), platform::readRepairSettings());

    for (CLiedkramEntry* entry : {&loaded, &listed}) {
        shell_.opened.clear();
        EXPECT_EQ(showWith(*entry,
                           [](QDialog& d) {
                               ASSERT_TRUE(button(d, Dlg::IDC_PICTURE)->isEnabled());
                               click(button(d, Dlg::IDC_PICTURE));
                               EXPECT_TRUE(d.isVisible());
                               click(button(d, 3));
                           }),
                  Dlg::kNotSaved);
        ASSERT_EQ(shell_.opened.size(), 1u);
        EXPECT_EQ(testsupport::readFile(shell_.opened[0]), front);
    }
    EXPECT_EQ(showWith(textsOnly,
                       [](QDialog& d) {
                           EXPECT_FALSE(button(d, Dlg::IDC_PICTURE)->isEnabled());
                           click(button(d, 3));
                       }),
              Dlg::kNotSaved);

    // A picture no program opens is reported, and the dialog stays.
    shell_.succeeds = false;
    showWith(listed, [](QDialog& d) {
        click(button(d, Dlg::IDC_PICTURE));
        EXPECT_TRUE(d.isVisible());
        click(button(d, 3));
    });
    ASSERT_EQ(prompter_.messages().size(), 1u);
    EXPECT_EQ(prompter_.messages()[0], "Can't open '" + shell_.opened.back() + "'");
    doc_.pictureDirectory().clear();
    EXPECT_FALSE(platform::fileExists(shell_.opened[0]));
}
