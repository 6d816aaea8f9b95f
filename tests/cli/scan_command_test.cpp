#include "cli/progress_line.h"
#include "cli/scan_command.h"
#include "cli/scan_table.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using ScanCommand = testsupport::SeamTest;

TEST_F(ScanCommand, SkippedPathsAndFilesAreReportedAndTheRunGoesOn)
{
    testsupport::TempDir dir;
    dir.write("a.mp3", testsupport::musicBytes(4000));
    testsupport::Bytes good;
    for (int i = 0; i < 50; ++i)
        testsupport::append(good, testsupport::frame({}));
    dir.write("b.mp3", good);
    std::ostringstream out;
    std::ostringstream err;
    cli::ProgressLine progress(err, false);

    EXPECT_EQ(cli::runScan(platform::readRepairSettings(), {dir.file("gone"), dir.path()}, out, progress), 1);

    const std::string table = out.str();
    ASSERT_EQ(table.rfind(cli::scanHeader(), 0), 0u);
    const std::string rows = table.substr(cli::scanHeader().size());
    EXPECT_EQ(rows.rfind("b.mp3\t" + dir.path() + "\t", 0), 0u);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 1);
    const auto messages = prompter().messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find(dir.file("gone")), std::string::npos);
    EXPECT_NE(messages[1].find("a.mp3"), std::string::npos);
}
