// One player per user: a second start of the real program hands its files to the first and ends.
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
    QString socketPath() const { return QDir(runtime.path()).filePath(QStringLiteral("MiradoVideo_WNDNAME")); }
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

}  // namespace
}  // namespace mirado::testing
