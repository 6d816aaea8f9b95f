#include "history/change_record.h"

#include <gtest/gtest.h>

using history::Change;
using history::ChangeKind;

TEST(ChangeRecord, AnyPathSurvivesTheLineAndACutLineCountsForNothing)
{
    Change change;
    change.kind = ChangeKind::Renamed;
    change.path = "/music/a\tb\\c\nd.mp3";
    change.newPath = "/music/\xC3\xA4 \\t.mp3";
    change.before = {1, 2, 3, 4};
    change.after = {5, 6, 7, -8};
    const std::string line = history::formatChange(change);
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line, whatever the paths hold";

    const auto read = history::parseChange(line);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->kind, ChangeKind::Renamed);
    EXPECT_EQ(read->path, change.path);
    EXPECT_EQ(read->newPath, change.newPath);
    EXPECT_EQ(read->kept, "");
    EXPECT_EQ(read->before, change.before);
    EXPECT_EQ(read->after, change.after);

    // Cut anywhere by a crash: no change at all.
    for (std::size_t length = 0; length < line.size(); ++length)
        EXPECT_FALSE(history::parseChange(line.substr(0, length))) << length;
    EXPECT_FALSE(history::parseChange("replaced\tx\\q\t\t\t1\t2\t3\t4\t5\t6\t7\t8\n")) << "an unknown escape";
    EXPECT_FALSE(history::parseChange("copied\t/a\t\t\t1\t2\t3\t4\t5\t6\t7\t8\n"));
}
