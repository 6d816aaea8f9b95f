// A later start hands its files to the running Liedkram.

#include "window_fixture.h"

#include "app/single_instance.h"
#include "entry/liedkram_entry.h"

#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

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

TEST(SingleInstance, TheRunningLiedkramOutlastsIdleFloodingAndMalformedConnections)
{
    const testsupport::TempDir dir;
    const QString name = QString::fromStdString(dir.file("socket"));
    SingleInstance running(name, 300);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::filesReceived);

    // Connections that never send a whole message.
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < 20; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(name);
        ASSERT_TRUE(idle.back()->waitForConnected(1000));
    }
    idle.front()->write(QByteArray("\x00\x00\x00\x10", 4));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(idle.begin(), idle.end(),
                               [](const auto& socket) { return socket->state() == QLocalSocket::UnconnectedState; });
        },
        5000))
        << "idle connections are closed";

    // A count of paths far beyond what was sent, and a length beyond any message.
    for (const QByteArray& message :
         {QByteArray("\x00\x00\x00\x04\xFF\xFF\xFF\xF0", 8), QByteArray("\x7F\xFF\xFF\xFF", 4)}) {
        QLocalSocket liar;
        liar.connectToServer(name);
        ASSERT_TRUE(liar.waitForConnected(1000));
        liar.write(message);
        ASSERT_TRUE(liar.waitForBytesWritten(1000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return liar.state() == QLocalSocket::UnconnectedState; }, 5000));
    }
    EXPECT_EQ(received.count(), 0);

    EXPECT_TRUE(SingleInstance(name).handOver({QStringLiteral("/a.mp3")}));
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList{QStringLiteral("/a.mp3")});
}

// No window: while descriptors run out, none of its events may come.
TEST(SingleInstance, TheRunningLiedkramListensAgainAfterRunningOutOfDescriptors)
{
    const testsupport::TempDir dir;
    const QString name = QString::fromStdString(dir.file("socket"));
    SingleInstance running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::filesReceived);

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit low = old;
    low.rlim_cur = std::min<rlim_t>(old.rlim_cur, 512);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> filler;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        filler.push_back(fd);
    ::close(filler.back());
    filler.pop_back();
    // Takes the last descriptor, so the server has none to accept it with.
    // Plain calls only while none is left: the sanitizers need one for
    // their own checks.
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = name.toLocal8Bit();
    std::copy(path.begin(), path.end(), address.sun_path);
    const int connected = ::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    while (std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ::close(client);
    for (int fd : filler)
        ::close(fd);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &old), 0);
    ASSERT_GE(client, 0);
    ASSERT_EQ(connected, 0);

    EXPECT_TRUE(QTest::qWaitFor([&] { return SingleInstance(name).handOver({QStringLiteral("/b.mp3")}); }, 5000));
    ASSERT_TRUE(received.count() > 0 || received.wait(5000));
    EXPECT_EQ(received.back().at(0).toStringList(), QStringList{QStringLiteral("/b.mp3")});
}
