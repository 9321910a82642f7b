#include "XInput.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QMap>
#include <QProcess>
#include <QTimer>

namespace mirado::testing::xinput {
namespace {

QString number(int value) { return QString::number(value); }

// A program's output, the event loop running while it works.
bool runProgram(const QString& program, const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) return false;
    if (process.state() != QProcess::NotRunning) loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output != nullptr) *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList moveTo(QPoint global) { return {"mousemove", number(global.x()), number(global.y())}; }

// A person's click: the button is down for a moment.
const QStringList kClick = {"mousedown", "1", "sleep", "0.03", "mouseup", "1"};

}  // namespace

bool run(const QStringList& arguments) { return runProgram(QStringLiteral("xdotool"), arguments); }

bool clickAt(QPoint global) {
    return run(moveTo(global + QPoint(-6, -3)) + QStringList{"sleep", "0.05"} + moveTo(global) +
               QStringList{"sleep", "0.1"} + kClick);
}

bool doubleClickAt(QPoint global) {
    return run(moveTo(global + QPoint(-6, -3)) + QStringList{"sleep", "0.05"} + moveTo(global) +
               QStringList{"sleep", "0.1"} + kClick + QStringList{"sleep", "0.08"} + kClick);
}

bool dragBy(QPoint from, QPoint delta) {
    QStringList steps = moveTo(from) + QStringList{"sleep", "0.1", "mousedown", "1", "sleep", "0.05"};
    for (int i = 1; i <= 4; ++i) steps += moveTo(from + delta * i / 4) + QStringList{"sleep", "0.05"};
    return run(steps + QStringList{"sleep", "0.1", "mouseup", "1"});
}

bool key(const QString& name) { return run({"key", name}); }

bool holdKey(const QString& name, int ms) {
    return run({"keydown", name, "sleep", QString::number(ms / 1000.0), "keyup", name});
}

bool type(const QString& text) { return run({"type", "--delay", "40", text}); }

unsigned long focusedWindow() {
    QString output;
    if (!runProgram(QStringLiteral("xdotool"), {"getwindowfocus"}, &output)) return 0;
    return output.trimmed().toULong();
}

QRect windowGeometry(unsigned long windowId) {
    QString output;
    if (!runProgram(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", QString::number(windowId)}, &output))
        return {};
    QMap<QString, int> values;
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList pair = line.split(QLatin1Char('='));
        if (pair.size() == 2) values[pair[0]] = pair[1].toInt();
    }
    return QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
}

QString windowState(unsigned long windowId) {
    QString output;
    runProgram(QStringLiteral("xprop"), {"-id", QString::number(windowId), "_NET_WM_STATE"}, &output);
    return output;
}

bool windowManagerRuns() {
    QString output;
    return runProgram(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}, &output) &&
           output.contains(QStringLiteral("window id"));
}

}  // namespace mirado::testing::xinput
