#pragma once
// A main window built from the real skin, shown on the offscreen screen, with the recording message
// box and the scripted file dialog, and helpers to drive it as a person would.
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "player/CMainFrame.h"
#include "ui/testing/UiTestHarness.h"

class CListUI;

namespace mirado::testing {

// Answers every password prompt that opens: types the next queued password and confirms, or cancels
// when the queue holds no answer (or an empty optional).
class PasswordPrompts {
public:
    PasswordPrompts();
    std::deque<std::optional<QString>> answers;
    int asked = 0;
    // Leaves prompts alone (a test answers them itself).
    bool held = false;

private:
    void answerOpenPrompts();
    QTimer timer_;
};

// Runs the event loop until `done` or `ms` milliseconds; returns done().
bool waitUntil(const std::function<bool()>& done, int ms = 8000);

class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Builds and shows the window; the pace decides whether videos play in real time.
    void open(avplayer::Pace pace = avplayer::Pace::RealTime);
    void open(std::unique_ptr<CMainFrame> window);

    CControlUI* control(const QString& name) const;
    QString textOf(const QString& name) const;
    bool isVisible(const QString& name) const;
    CListUI& list() const;
    QStringList rowNames() const;
    // Adds files through the btnadd button, the dialog answering with `paths`.
    void addThroughDialog(const QStringList& paths);
    // The centre of a row in window coordinates (the row is scrolled into view first).
    QPoint rowCentre(int index) const;
    void clickRow(int index);
    void doubleClickRow(int index);
    int engineState() { return frame->engine().play_status(); }

    ServiceScope services;
    PasswordPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace mirado::testing
