// The password prompt as a modal window of the main window: while it is open the main window takes
// no clicks or keys, a video that ends meanwhile waits with the next row until the prompt is gone,
// and the prompt's own field gets what is typed.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include "MainWindowFixture.h"
#include "TestClips.h"
#include "surface/CPasswordFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CEditUI.h"

namespace mirado::testing {
namespace {

constexpr int kEnded = 3;

std::vector<CPasswordFrame*> openPrompts() {
    std::vector<CPasswordFrame*> prompts;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->windowTitle() != QStringLiteral("PasswordFrame")) continue;
        if (auto* prompt = dynamic_cast<CPasswordFrame*>(CWindowWnd::FromHandle(widget))) prompts.push_back(prompt);
    }
    return prompts;
}

class ModalPrompt : public MainWindowTest {
protected:
    // Runs `inPrompt` from inside the first prompt's modal loop, then cancels it; the prompt is opened
    // by double-clicking `row`.
    void withPromptOpen(int row, const std::function<void(CPasswordFrame&)>& inPrompt) {
        bool ran = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const auto prompts = openPrompts();
            if (prompts.empty()) return;
            if (ran) {
                // A prompt opened over the first one (a fault): cancelled, so that the test ends.
                if (prompts.size() > 1) click(*prompts.back(), QStringLiteral("btn_cancel"));
                return;
            }
            ran = true;
            inPrompt(*prompts.front());
            for (CPasswordFrame* prompt : openPrompts()) click(*prompt, QStringLiteral("btn_cancel"));
        });
        poll.start(20);
        doubleClickRow(row);
        EXPECT_TRUE(ran) << "no prompt opened";
    }
    void SetUp() override { prompts.held = true; }
};

TEST_F(ModalPrompt, TheMainWindowTakesNoInputWhileThePromptIsOpen) {
    open();
    const QString clip = TestClips::instance().video("clip.mp4", 2);
    const QString first = TestClips::instance().container(clip, "abc123");
    const QString second = TestClips::instance().container(clip, "xyz789");
    const QString picture = TestClips::instance().picture("plain.png", 40, 30);
    frame->addPaths({first, second, picture});

    std::size_t promptsSeen = 0;
    withPromptOpen(0, [&](CPasswordFrame&) {
        doubleClickRow(1);
        doubleClickRow(2);
        click(*frame, QStringLiteral("btn_fullscreen"));
        // Straight at the main window's native window, as a key would come if it had the focus.
        QTest::keyClick(frame->GetHWND()->windowHandle(), Qt::Key_Escape);
        runFor(150);
        promptsSeen = openPrompts().size();
        EXPECT_FALSE(frame->videoSurface()->isFullScreen()) << "the full-screen button covered the prompt";
        EXPECT_FALSE(frame->isShowingImage()) << "the picture row opened behind the prompt";
    });
    EXPECT_EQ(promptsSeen, 1u) << "a second prompt opened over the first";
    EXPECT_TRUE(openPrompts().empty());
    EXPECT_TRUE(frame->currentPath().isEmpty());

    // Closed: the main window answers again.
    doubleClickRow(2);
    EXPECT_TRUE(waitUntil([&] { return frame->isShowingImage(); }));
}

TEST_F(ModalPrompt, AVideoEndingUnderThePromptWaitsForItToClose) {
    open();
    const QString shortClip = TestClips::instance().video("short.mp4", 1);
    const QString container = TestClips::instance().container(shortClip, "abc123");
    const QString after = TestClips::instance().video("after.mp4", 2);
    frame->addPaths({shortClip, container, after});
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return engineState() == 1; }));

    std::size_t mostPrompts = 0;
    QString typed;
    withPromptOpen(1, [&](CPasswordFrame& prompt) {
        // The clip ends while the prompt is open; the ticks go on and the end waits.
        EXPECT_TRUE(waitUntil([&] {
            mostPrompts = std::max(mostPrompts, openPrompts().size());
            return engineState() == kEnded;
        }));
        runFor(400);
        mostPrompts = std::max(mostPrompts, openPrompts().size());
        EXPECT_EQ(frame->currentPath(), shortClip) << "the next row started under the prompt";
        // Typing reaches the prompt's field.
        typeInto(prompt, QStringLiteral("edit_encode_psw"), QStringLiteral("abc"));
        if (auto* edit = dynamic_cast<CEditUI*>(prompt.GetPaintManager().FindControl(CDuiString(u"edit_encode_psw"))))
            typed = edit->GetText().toQString();
    });
    EXPECT_EQ(mostPrompts, 1u);
    EXPECT_EQ(typed, QStringLiteral("abc"));
    // Once it is gone, the end moves on to the next row: the container asks again (and is cancelled).
    int laterPrompts = 0;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        for (CPasswordFrame* prompt : openPrompts()) {
            ++laterPrompts;
            click(*prompt, QStringLiteral("btn_cancel"));
        }
    });
    cancel.start(20);
    EXPECT_TRUE(waitUntil([&] { return laterPrompts > 0; })) << "the end of the video was lost";
    runFor(200);
    EXPECT_EQ(laterPrompts, 1);
}

}  // namespace
}  // namespace mirado::testing
