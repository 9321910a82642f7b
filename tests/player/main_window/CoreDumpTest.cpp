// The player's memory holds deciphered pictures, keys and passwords: a crash must not write it to disk.
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "MainWindowFixture.h"

namespace mirado::testing {
namespace {

// The "Max core file size" line of a process's limits, e.g. "0 0" or "unlimited unlimited".
QString coreLimit(qint64 pid) {
    QFile limits(QStringLiteral("/proc/%1/limits").arg(pid));
    if (!limits.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : limits.readAll().split('\n')) {
        if (!line.startsWith("Max core file size")) continue;
        const QStringList words = QString::fromLatin1(line.mid(18)).split(' ', Qt::SkipEmptyParts);
        return words.size() >= 2 ? words[0] + ' ' + words[1] : QString();
    }
    return {};
}

// Where this system writes core files, when it writes them into the crashing program's folder.
bool coresGoToTheWorkingFolder() {
    QFile pattern(QStringLiteral("/proc/sys/kernel/core_pattern"));
    if (!pattern.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = pattern.readAll().trimmed();
    return !text.isEmpty() && !text.startsWith('|') && !text.contains('/');
}

TEST(CoreDumps, TheRunningPlayerWritesNoCoreFileWhenItCrashes) {
    QTemporaryDir runtime, folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess player;
    player.setProcessEnvironment(environment);
    player.setWorkingDirectory(folder.path());
    // Core files allowed, as a user who turned them on would have it.
    player.setChildProcessModifier([] {
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_CORE, &unlimited);
    });
    player.start(QStringLiteral(MIRADO_PLAYER_EXE), {});
    ASSERT_TRUE(player.waitForStarted());
    // Up and running once its single-instance socket is there.
    ASSERT_TRUE(waitUntil([&] { return !QDir(runtime.path()).isEmpty(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot); }, 15000));

    EXPECT_EQ(coreLimit(player.processId()), QStringLiteral("0 0"));
    // SIGQUIT ends a program with a core file by default, and no sanitizer catches it.
    ::kill(pid_t(player.processId()), SIGQUIT);
    ASSERT_TRUE(player.waitForFinished(60000));
    EXPECT_EQ(player.exitStatus(), QProcess::CrashExit);
    if (coresGoToTheWorkingFolder()) {
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList()) << "a core file was written";
    }
}

}  // namespace
}  // namespace mirado::testing
