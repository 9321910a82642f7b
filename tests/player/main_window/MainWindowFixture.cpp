#include "MainWindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>

#include "surface/CPasswordFrame.h"
#include "ui/CListUI.h"
#include "ui/WindowApi.h"

namespace mirado::testing {

PasswordPrompts::PasswordPrompts() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { answerOpenPrompts(); });
    timer_.start(15);
}

void PasswordPrompts::answerOpenPrompts() {
    if (held) return;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->windowTitle() != QStringLiteral("PasswordFrame") ||
            widget->property("mirado.answered").toBool())
            continue;
        auto* prompt = dynamic_cast<CPasswordFrame*>(CWindowWnd::FromHandle(widget));
        if (prompt == nullptr) continue;
        widget->setProperty("mirado.answered", true);
        ++asked;
        std::optional<QString> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        if (answer) {
            typeInto(*prompt, QStringLiteral("edit_encode_psw"), *answer);
            click(*prompt, QStringLiteral("btn_ok"));
        } else {
            click(*prompt, QStringLiteral("btn_cancel"));
        }
    }
}

void MainWindowTest::open(avplayer::Pace pace) {
    open(std::make_unique<CMainFrame>(pace));
}

void MainWindowTest::open(std::unique_ptr<CMainFrame> window) {
    frame = std::move(window);
    g_pMainFrame = frame.get();
    ASSERT_NE(frame->Create(nullptr, u"MiradoVideo_WNDNAME", WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                            WS_EX_STATICEDGE | WS_EX_APPWINDOW, 0),
              nullptr)
        << frame->GetCreateError().toStdString();
    frame->CenterWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame->GetHWND()->windowHandle()));
    // The surface takes the play region with the first relayout.
    runFor(150);
}

void MainWindowTest::TearDown() {
    g_pMainFrame = nullptr;
    frame.reset();
    clearQuit();
    runFor(0);
}

CControlUI* MainWindowTest::control(const QString& name) const {
    return frame->GetPaintManager().FindControl(CDuiString(name));
}

QString MainWindowTest::textOf(const QString& name) const {
    CControlUI* c = control(name);
    return c ? c->GetText().toQString() : QStringLiteral("<missing>");
}

bool MainWindowTest::isVisible(const QString& name) const {
    CControlUI* c = control(name);
    return c != nullptr && c->IsVisible();
}

CListUI& MainWindowTest::list() const {
    auto* playlist = dynamic_cast<CListUI*>(control(QStringLiteral("listplay")));
    if (playlist == nullptr) std::abort();
    return *playlist;
}

QStringList MainWindowTest::rowNames() const {
    QStringList names;
    for (int i = 0; i < list().ItemCount(); ++i) names << list().ItemAt(i)->GetName().toQString();
    return names;
}

void MainWindowTest::addThroughDialog(const QStringList& paths) {
    services.files->answers.push_back(paths);
    ASSERT_TRUE(click(*frame, QStringLiteral("btnadd")));
}

QPoint MainWindowTest::rowCentre(int index) const {
    list().EnsureVisible(index);
    frame->GetPaintManager().UpdateLayout();
    const RECT& r = list().ItemAt(index)->GetPos();
    return QPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

void MainWindowTest::clickRow(int index) {
    clickAt(*frame, rowCentre(index));
}

void MainWindowTest::doubleClickRow(int index) {
    doubleClickAt(*frame, rowCentre(index));
}

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(10);
    }
    return true;
}

}  // namespace mirado::testing
