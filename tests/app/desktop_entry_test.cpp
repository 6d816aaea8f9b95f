// The desktop entry that installs Liedkram in the menu and for list files.

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString desktopEntry(const QString& key)
{
    QFile file(QStringLiteral(LIEDKRAM_RES_DIR "/liedkram.desktop"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString prefix = key + QLatin1Char('=');
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

}  // namespace

TEST(DesktopEntry, ClaimsListFilesButNotMp3Files)
{
    // Opening an MP3 from the file manager must start a player, not Liedkram.
    EXPECT_EQ(desktopEntry(QStringLiteral("MimeType")), QStringLiteral("application/x-liedkram-list;"));
    EXPECT_EQ(desktopEntry(QStringLiteral("Exec")), QStringLiteral("liedkram %F"));
    EXPECT_EQ(desktopEntry(QStringLiteral("Icon")), QStringLiteral("liedkram"));
}
