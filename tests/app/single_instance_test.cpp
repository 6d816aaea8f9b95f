// A later start hands its files to the running Liedkram.

#include "window_fixture.h"

#include "app/single_instance.h"
#include "entry/liedkram_entry.h"

#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using apptest::WindowTest;

TEST_F(WindowTest, FilesHandedOverAreOpenedAsTheCommandLineWould)
{
    const auto song = writeSong("Band - Song.mp3");
    const QString name = QString::fromStdString(dir_.file("socket"));
    SingleInstance running(name);
    ASSERT_TRUE(running.listen());
    QObject::connect(&running, &SingleInstance::filesReceived, frame_.get(), &CMainFrame::openFiles);

    EXPECT_TRUE(SingleInstance(name).handOver({QString::fromStdString(song)}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc_.GetCount() == 1; }));
    EXPECT_EQ(doc_.GetEntry(0).m_szTitle, "Song");
    EXPECT_EQ(frame_->windowTitle(), "Untitled * - Liedkram");
}

TEST_F(WindowTest, FilesHandedOverWaitForAnOpenDialog)
{
    const auto song = writeSong("Band - Song.mp3");
    QMessageBox question(QMessageBox::Question, QString(), QStringLiteral("?"), QMessageBox::Ok, frame_.get());
    question.setWindowModality(Qt::ApplicationModal);
    question.show();
    frame_->openFiles({QString::fromStdString(song)});
    QTest::qWait(400);
    EXPECT_EQ(doc_.GetCount(), 0u);
    question.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc_.GetCount() == 1; }));
}

TEST_F(WindowTest, WithoutARunningLiedkramNothingIsHandedOver)
{
    const QString name = QString::fromStdString(dir_.file("socket"));
    EXPECT_FALSE(SingleInstance(name).handOver({QStringLiteral("/a.mp3")}));
    // A socket left behind by a Liedkram that ended is taken over.
    dir_.write("socket", {});
    SingleInstance first(name);
    EXPECT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::filesReceived);
    EXPECT_TRUE(SingleInstance(name).handOver({QStringLiteral("/a.mp3"), QStringLiteral("/b c.m3l")}));
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), (QStringList{"/a.mp3", "/b c.m3l"}));
}

TEST_F(WindowTest, ASecondLiedkramHandsOverItsFilesAndEnds)
{
    const QString runtime = QString::fromStdString(dir_.file("runtime"));
    ASSERT_TRUE(QDir().mkdir(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SingleInstance running(runtime + QStringLiteral("/liedkram"));
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::filesReceived);

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(QString::fromStdString(dir_.path()));
    second.start(QStringLiteral(LIEDKRAM_APP_PATH), {QStringLiteral("Liste.m3l")});
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second Liedkram kept running";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(received.count() > 0 || received.wait(5000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList{QString::fromStdString(dir_.file("Liste.m3l"))});
}
