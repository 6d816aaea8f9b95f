#include "document/liedkram_doc.h"
#include "document/list_edit.h"
#include "entry/column.h"
#include "entry/liedkram_entry.h"
#include "support/seam_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class ListEditTest : public testsupport::SeamTest {
protected:
    ListEditTest()
    {
        document::DuplicatePolicy answer;
        for (const char* artist : {"Dd", "Aa", "Cc", "Bb", "Ee"}) {
            auto entry = std::make_unique<CLiedkramEntry>();
            entry->m_szFileName = std::string(artist) + ".mp3";
            entry->m_szPath = "/music";
            entry->m_szArtist = artist;
            entry->m_dwHeader = 0x4490FBFF;
            doc_.AddEntry(std::move(entry), false, answer);
        }
    }

    // The rows as artist and title, and which entry objects stand there.
    std::string rows() const
    {
        std::string text;
        for (std::size_t row = 0; row < doc_.GetCount(); ++row) {
            const CLiedkramEntry& entry = doc_.GetEntry(row);
            text += entry.m_szArtist.str() + "/" + entry.m_szTitle.str() + " ";
        }
        return text;
    }
    std::vector<const CLiedkramEntry*> objects() const { return doc_.Entries(); }

    document::ListEdit record(const std::function<void()>& command)
    {
        document::ListEdit edit;
        doc_.edits = &edit;
        command();
        edit.settle(doc_);
        doc_.edits = nullptr;
        return edit;
    }

    CLiedkramDoc doc_;
};

}  // namespace

TEST_F(ListEditTest, EveryKindOfListChangeIsTakenBackAndDoneAgainInOrder)
{
    const std::string before = rows();
    const auto beforeObjects = objects();
    document::ListEdit edit = record([this] {
        doc_.GetEntry(4).m_szTitle = "Neu";
        doc_.GetEntry(0);  // handed out, left as it was: no change
        doc_.RemoveRows({1, 3});
        doc_.SortByColumn(Column::Artist);
        document::DuplicatePolicy answer;
        auto added = std::make_unique<CLiedkramEntry>();
        added->m_szArtist = "Ff";
        doc_.AddEntry(std::move(added), false, answer);
        doc_.GetEntry(0).m_szTitle = "Zwei";
    });
    const std::string after = rows();
    ASSERT_EQ(after, "Cc/Zwei Dd/ Ee/Neu Ff/ ");
    EXPECT_FALSE(edit.empty());

    const auto undone = edit.undo(doc_);
    EXPECT_TRUE(undone.matched);
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(objects(), beforeObjects) << "the very entries are back, in their places";
    // Shown selected: the rows that came back and the entries given their old values.
    EXPECT_EQ(undone.rows, (std::vector<std::size_t>{1, 2, 3, 4}));

    const auto redone = edit.redo(doc_);
    EXPECT_TRUE(redone.matched);
    EXPECT_EQ(rows(), after);
    EXPECT_EQ(redone.rows, (std::vector<std::size_t>{0, 2, 3}));
    EXPECT_EQ(edit.undo(doc_).matched, true);
    EXPECT_EQ(rows(), before);
}

TEST_F(ListEditTest, AListNotAsTheEditLeftItIsNotTouched)
{
    const auto addOne = [this] {
        document::DuplicatePolicy answer;
        doc_.AddEntry(std::make_unique<CLiedkramEntry>(), false, answer);
    };
    document::ListEdit appended = record(addOne);
    doc_.RemoveRow(0);
    const std::string now = rows();
    EXPECT_FALSE(appended.undo(doc_).matched);
    EXPECT_EQ(rows(), now);
    document::ListEdit sorted = record([this] { doc_.SortByColumn(Column::Title); });
    addOne();
    EXPECT_FALSE(sorted.redo(doc_).matched);
    EXPECT_EQ(doc_.GetCount(), 6u);

    EXPECT_TRUE(record([this] { doc_.GetEntry(0); }).empty()) << "an entry handed out but not changed is no edit";
    EXPECT_TRUE(record([this] { doc_.DeleteContents(); }).isVoid()) << "another list: nothing to take back";
}
