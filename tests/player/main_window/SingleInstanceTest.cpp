// One player per user: a second start of the real program hands its files to the first and ends; the
// socket between them lies where only the user can reach it, and files go only to the user's own player.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "TestClips.h"

namespace mirado::testing {
namespace {

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("mirado.player.playlist.debug=true"));
    }
    void TearDown() override {
        if (first.state() != QProcess::NotRunning) {
            first.terminate();
            first.waitForFinished(3000);
        }
    }
    QString socketPath() const { return QDir(runtime.path()).filePath(QStringLiteral("mirado-player.socket")); }
    // The folder a player without a runtime folder keeps its socket in, under `temporary`.
    static QString ownFolder(const QString& temporary) {
        return QDir(temporary).filePath(QStringLiteral("mirado-%1").arg(::getuid()));
    }
    void useTemporaryFolderOnly(const QString& temporary) {
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        environment.insert(QStringLiteral("TMPDIR"), temporary);
    }
    void startFirst(const QStringList& files) {
        first.setProcessEnvironment(environment);
        first.setProcessChannelMode(QProcess::MergedChannels);
        first.start(QStringLiteral(MIRADO_PLAYER_EXE), files);
        ASSERT_TRUE(first.waitForStarted());
    }
    // What the first instance has written so far.
    QString firstOutput() {
        first.waitForReadyRead(50);
        output += QString::fromUtf8(first.readAll());
        return output;
    }
    int runSecond(const QStringList& arguments, const QString& folder) {
        QProcess second;
        second.setProcessEnvironment(environment);
        second.setWorkingDirectory(folder);
        second.start(QStringLiteral(MIRADO_PLAYER_EXE), arguments);
        if (!second.waitForFinished(15000)) {
            second.kill();
            return -1;
        }
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

    QTemporaryDir runtime;
    QProcessEnvironment environment;
    QProcess first;
    QString output;
};

TEST_F(SingleInstance, ASecondStartHandsItsFilesToTheFirstAndEndsWithZero) {
    const QString own = TestClips::instance().emptyFile("own.mp4");
    const QString handed = TestClips::instance().emptyFile("handed.mkv");
    const QString folder = QFileInfo(handed).absolutePath();
    startFirst({own});
    ASSERT_TRUE(waitUntil([&] { return firstOutput().contains("added " + own); }));
    ASSERT_TRUE(QFile::exists(socketPath()));

    // A relative name is taken from the second start's own folder; a missing file is dropped.
    EXPECT_EQ(runSecond({QFileInfo(handed).fileName(), QStringLiteral("missing.mp4"), own}, folder), 0);
    EXPECT_TRUE(waitUntil([&] { return firstOutput().contains("added " + handed); })) << output.toStdString();
    EXPECT_EQ(output.count(QStringLiteral("added ")), 2) << "the listed file was not added twice";
    EXPECT_EQ(first.state(), QProcess::Running);

    // Without files the second start only brings the first forward.
    EXPECT_EQ(runSecond({}, folder), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SingleInstance, ASocketLeftBehindDoesNotStopTheNextStart) {
    QFile stale(socketPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    const QString file = TestClips::instance().emptyFile("after-crash.mp4");
    startFirst({});
    runFor(300);
    ASSERT_EQ(first.state(), QProcess::Running) << firstOutput().toStdString();
    EXPECT_EQ(runSecond({file}, QDir::tempPath()), 0);
    EXPECT_TRUE(waitUntil([&] { return firstOutput().contains("added " + file); })) << output.toStdString();
}

TEST_F(SingleInstance, ANameHoldingALineBreakIsHandedOverWhole) {
    const QString own = TestClips::instance().emptyFile("own.mp4");
    const QString handed = TestClips::instance().emptyFile(QStringLiteral("two\nlines.mp4"));
    startFirst({own});
    ASSERT_TRUE(waitUntil([&] { return firstOutput().contains("added " + own); }));
    EXPECT_EQ(runSecond({handed}, QDir::tempPath()), 0);
    EXPECT_TRUE(waitUntil([&] { return firstOutput().contains("added " + handed); })) << output.toStdString();
    runFor(200);
    EXPECT_EQ(firstOutput().count(QStringLiteral("added ")), 2) << "one row, not two";
}

TEST_F(SingleInstance, WithoutARuntimeFolderTheSocketLiesInAFolderOnlyTheUserCanEnter) {
    QTemporaryDir temporary;
    useTemporaryFolderOnly(temporary.path());
    startFirst({});
    const QString socket = QDir(ownFolder(temporary.path())).filePath(QStringLiteral("mirado-player.socket"));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(socket); })) << QDir(temporary.path()).entryList().join(' ').toStdString();
    struct stat folder {};
    ASSERT_EQ(::lstat(QFile::encodeName(ownFolder(temporary.path())).constData(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(folder.st_uid, ::getuid());

    const QString file = TestClips::instance().emptyFile("through-tmp.mp4");
    EXPECT_EQ(runSecond({file}, QDir::tempPath()), 0);
    EXPECT_TRUE(waitUntil([&] { return firstOutput().contains("added " + file); })) << output.toStdString();
}

// Another user's listener, as root can stage one: it binds `socket`, becomes "nobody" before it listens
// (the identity a connecting player sees) and writes whatever it receives to `record`.
class ForeignListener {
public:
    ForeignListener(const QString& socket, const QString& record) {
        QFile(record).open(QIODevice::WriteOnly);
        QFile::setPermissions(record, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther |
                                          QFileDevice::WriteOther);
        const QString script = QStringLiteral(
            "import os, socket, sys\n"
            "path, record, ready = sys.argv[1:4]\n"
            "s = socket.socket(socket.AF_UNIX)\n"
            "s.bind(path)\n"
            "os.chmod(path, 0o777)\n"
            "os.setgid(65534); os.setuid(65534)\n"
            "s.listen(4)\n"
            "open(ready, 'w').close()\n"
            "while True:\n"
            "    c, _ = s.accept()\n"
            "    data = c.recv(65536)\n"
            "    with open(record, 'ab') as out: out.write(data)\n"
            "    c.close()\n");
        ready_ = record + QStringLiteral(".ready");
        QFile::setPermissions(QFileInfo(record).absolutePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                    QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                                    QFileDevice::WriteOther | QFileDevice::ExeOther);
        process_.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, socket, record, ready_});
    }
    ~ForeignListener() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool waitReady() { return waitUntil([&] { return QFile::exists(ready_); }, 5000); }

private:
    QProcess process_;
    QString ready_;
};

TEST_F(SingleInstance, ASocketOrFolderOfAnotherUserIsNeverUsed) {
    if (::getuid() != 0) GTEST_SKIP() << "staging another user's socket needs root";
    QTemporaryDir temporary, records;
    useTemporaryFolderOnly(temporary.path());
    const QString folder = ownFolder(temporary.path());
    const QString record = QDir(records.path()).filePath(QStringLiteral("received"));
    const QString file = TestClips::instance().emptyFile("for-me-only.mp4");

    // The folder is ours, but the socket in it answers as another user: the start stays a player of its own.
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0700), 0);
    {
        ForeignListener listener(QDir(folder).filePath(QStringLiteral("mirado-player.socket")), record);
        ASSERT_TRUE(listener.waitReady());
        startFirst({file});
        EXPECT_TRUE(waitUntil([&] { return firstOutput().contains("added " + file); })) << output.toStdString();
        EXPECT_EQ(first.state(), QProcess::Running);
        EXPECT_EQ(QFile(record).size(), 0) << "the paths went to another user";
        // It took the socket over: a later start of ours reaches it.
        const QString later = TestClips::instance().emptyFile("later.mp4");
        EXPECT_EQ(runSecond({later}, QDir::tempPath()), 0);
        EXPECT_TRUE(waitUntil([&] { return firstOutput().contains("added " + later); })) << output.toStdString();
    }
    first.kill();
    first.waitForFinished(3000);
    output.clear();

    // A folder of that name made by another user is not used at all.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
    ForeignListener listener(QDir(folder).filePath(QStringLiteral("mirado-player.socket")), record);
    ASSERT_TRUE(listener.waitReady());
    startFirst({file});
    EXPECT_TRUE(waitUntil([&] { return firstOutput().contains("added " + file); })) << output.toStdString();
    runFor(300);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(QFile(record).size(), 0) << "the paths went to another user";
}

}  // namespace
}  // namespace mirado::testing
