#include "CLabelUI.h"
#include "DemoWindow.h"
#include "MessageBoxService.h"
#include "SkinPainter.h"
#include "SkinValue.h"
#include "WindowApi.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace mirado;
using namespace mirado::testing;

namespace {

// Records the key-down messages it gets, with their key data.
class KeyWindow : public DemoWindow {
public:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_KEYDOWN)
            keyDowns.emplace_back(wParam, lParam);
        return DemoWindow::HandleMessage(uMsg, wParam, lParam);
    }
    // Escape would close the demo window.
    LRESULT ResponseDefaultKeyEvent(WPARAM) override { return 0; }
    std::vector<std::pair<WPARAM, LPARAM>> keyDowns;
};

} // namespace

TEST(Modal, TheOwnerTakesNoMouseOrKeysWhileAModalWindowIsOpen)
{
    KeyWindow owner;
    ASSERT_TRUE(createShown(owner, "owner"));
    KeyWindow modal;
    ASSERT_TRUE(modal.Create(owner.GetHWND(), u"modal", WS_POPUP, 0));

    std::size_t notesInModal = 0;
    std::size_t keysInModal = 0;
    bool enabledInModal = true;
    QTimer::singleShot(50, [&] {
        enabledInModal = IsWindowEnabled(owner.GetHWND());
        const std::size_t notes = owner.notifications.size();
        const std::size_t keys = owner.keyDowns.size();
        // Straight at the owner's window, as a hand on its part of the screen.
        clickAt(owner, centreOf(owner, QStringLiteral("btn_close")));
        doubleClickAt(owner, centreOf(owner, QStringLiteral("btn_close")));
        QTest::simulateEvent(owner.GetHWND()->windowHandle(), true, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                             false);
        runFor(50);
        notesInModal = owner.notifications.size() - notes;
        keysInModal = owner.keyDowns.size() - keys;
        modal.Close(IDOK);
    });
    EXPECT_EQ(modal.ShowModal(), static_cast<UINT>(IDOK));
    EXPECT_FALSE(enabledInModal);
    EXPECT_EQ(notesInModal, 0u) << "a click reached the owner of an open modal window";
    EXPECT_EQ(keysInModal, 0u) << "a key reached the owner of an open modal window";

    // Closed: the owner takes input again and has the keyboard.
    EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
    const std::size_t notes = owner.notifications.size();
    ASSERT_TRUE(click(owner, QStringLiteral("btn_close")));
    EXPECT_GT(owner.notifications.size(), notes);
}

namespace {

// What a message box found when it was answered.
struct BoxVisit {
    bool shown = false;
    bool ownerEnabled = true;
    bool detachedEnabled = true;
    bool answerable = false; // the box took a click on its button
    int ticks = 0;
};

// Answers the next message box with a click on its OK button, once it has been up for a while.
void answerNextBox(BoxVisit& visit, const std::function<void(BoxVisit&)>& look)
{
    QTimer::singleShot(150, [&visit, look] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        visit.shown = true;
        look(visit);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        visit.answerable = !box->isVisible();
        if (box->isVisible())
            box->done(QMessageBox::Ok); // never left open
    });
}

} // namespace

// The real message boxes block as ShowModal does: their owner, and a child of the owner that left it
// for a window of its own (as the video leaves for the full screen), take no input while a box is
// open and can tell they are blocked; timers go on. A box owned by a window that a modal window
// blocks already can still be answered, and closing it leaves that window to the modal window.
TEST(Modal, MessageBoxesBlockTheirOwnersAsModalWindowsDo)
{
    const auto recording = MessageBoxService::install(nullptr);
    KeyWindow owner;
    ASSERT_TRUE(createShown(owner, "owner"));
    KeyWindow detached;
    ASSERT_TRUE(detached.Create(owner.GetHWND(), u"detached", WS_CHILD, 0));
    SetParent(detached.GetHWND(), nullptr);
    detached.ShowWindow(true, false);
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(10);

    BoxVisit visit;
    const int ticksBefore = ticks;
    answerNextBox(visit, [&](BoxVisit& v) {
        v.ownerEnabled = IsWindowEnabled(owner.GetHWND());
        v.detachedEnabled = IsWindowEnabled(detached.GetHWND());
        v.ticks = ticks - ticksBefore;
    });
    EXPECT_EQ(messageBox(detached.GetHWND(), QStringLiteral("text"), QStringLiteral("caption")), static_cast<UINT>(IDOK));
    ASSERT_TRUE(visit.shown);
    EXPECT_FALSE(visit.ownerEnabled);
    EXPECT_FALSE(visit.detachedEnabled);
    EXPECT_TRUE(visit.answerable);
    EXPECT_GT(visit.ticks, 3) << "timers stopped under the box";
    EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
    EXPECT_TRUE(IsWindowEnabled(detached.GetHWND()));

    // Under a modal window of the framework.
    KeyWindow modal;
    ASSERT_TRUE(modal.Create(owner.GetHWND(), u"modal", WS_POPUP, 0));
    BoxVisit nested;
    bool ownerEnabledAfterBox = true;
    QTimer::singleShot(50, [&] {
        answerNextBox(nested, [](BoxVisit&) {});
        messageBox(owner.GetHWND(), QStringLiteral("text"), QStringLiteral("caption"));
        ownerEnabledAfterBox = IsWindowEnabled(owner.GetHWND());
        modal.Close(IDOK);
    });
    EXPECT_EQ(modal.ShowModal(), static_cast<UINT>(IDOK));
    ASSERT_TRUE(nested.shown);
    EXPECT_TRUE(nested.answerable) << "a box owned by a blocked window could not be answered";
    EXPECT_FALSE(ownerEnabledAfterBox) << "the box gave input back to a window that a modal window blocks";
    EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
    MessageBoxService::install(recording);
}

TEST(Keys, AutoRepeatedPressesCarryTheRepeatFlag)
{
    KeyWindow w;
    ASSERT_TRUE(createShown(w, "keys"));
    QWindow* window = w.GetHWND()->windowHandle();
    for (bool repeat : {false, true, true}) {
        // Through the window system's path, as the keyboard's auto-repeat comes.
        QTest::simulateEvent(window, true, Qt::Key_Escape, Qt::NoModifier, QString(), repeat);
    }
    runFor(20);
    ASSERT_EQ(w.keyDowns.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(w.keyDowns[i].first, VK_ESCAPE);
        EXPECT_EQ(LOWORD(w.keyDowns[i].second), 1u) << "one press per message";
        EXPECT_EQ((HIWORD(w.keyDowns[i].second) & KF_REPEAT) != 0, i > 0) << i;
    }
}

// X sends a held key as release and press pairs with one time stamp; Qt flags the pair as repeated
// only when it finds the press already queued at the release. Missed pairs are repeats all the same.
TEST(Keys, AReleaseAndPressAtOneInstantIsARepeat)
{
    KeyWindow w;
    ASSERT_TRUE(createShown(w, "pairs"));
    struct Step {
        bool press;
        quint32 scanCode; // 0: made up by a program
        quint64 time;
        bool qtRepeat;    // what Qt's own look-ahead found
        bool repeat;      // what the window must be told (presses only)
    };
    const Step steps[] = {
        {true, 65, 1000, false, false},  // the first press
        {false, 65, 1660, false, false}, // auto-repeat that Qt missed
        {true, 65, 1660, false, true},
        {false, 65, 1700, true, false},  // auto-repeat that Qt saw
        {true, 65, 1700, true, true},
        {false, 65, 1720, false, false}, // let go
        {true, 65, 1900, false, false},  // pressed again by hand
        {false, 65, 2000, false, false},
        {true, 66, 2000, false, false},  // another key at the same instant
        {false, 0, 3000, false, false},  // a program's events carry no scan code
        {true, 0, 3000, false, false},
    };
    std::vector<bool> expected;
    for (const Step& step : steps) {
        QKeyEvent event(step.press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier,
                        step.scanCode, 0, 0, QStringLiteral(" "), step.qtRepeat);
        event.setTimestamp(step.time);
        QCoreApplication::sendEvent(w.GetHWND(), &event);
        if (step.press)
            expected.push_back(step.repeat);
    }
    ASSERT_EQ(w.keyDowns.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(w.keyDowns[i].first, VK_SPACE);
        EXPECT_EQ((HIWORD(w.keyDowns[i].second) & KF_REPEAT) != 0, expected[i]) << "press " << i;
    }
}

TEST(SkinValue, AlignmentsAreReadAsWords)
{
    using mirado::hasWord;
    EXPECT_TRUE(hasWord(QStringLiteral("center"), u"center"));
    EXPECT_FALSE(hasWord(QStringLiteral("vcenter"), u"center"));
    EXPECT_TRUE(hasWord(QStringLiteral("Center  VCenter"), u"vcenter"));
    EXPECT_TRUE(hasWord(QStringLiteral("right,bottom"), u"bottom"));
    EXPECT_TRUE(hasWord(QStringLiteral("left|top"), u"top"));
    EXPECT_FALSE(hasWord(QStringLiteral("topmost"), u"top"));
    EXPECT_FALSE(hasWord(QString(), u"left"));

    // The password dots: vertically centred, on the left.
    CLabelUI label;
    label.SetAttribute(QStringLiteral("align"), QStringLiteral("vcenter"));
    EXPECT_EQ(label.GetTextStyle() & (DT_CENTER | DT_RIGHT), 0u);
    EXPECT_NE(label.GetTextStyle() & DT_VCENTER, 0u);
    label.SetAttribute(QStringLiteral("align"), QStringLiteral("center bottom"));
    EXPECT_NE(label.GetTextStyle() & DT_CENTER, 0u);
    EXPECT_NE(label.GetTextStyle() & DT_BOTTOM, 0u);
    EXPECT_EQ(label.GetTextStyle() & DT_VCENTER, 0u);
    label.SetAttribute(QStringLiteral("align"), QStringLiteral("right"));
    EXPECT_NE(label.GetTextStyle() & DT_RIGHT, 0u);
    label.SetAttribute(QStringLiteral("valign"), QStringLiteral("center"));
    EXPECT_NE(label.GetTextStyle() & DT_VCENTER, 0u);
}
